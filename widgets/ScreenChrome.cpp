#include "widgets/ScreenChrome.h"

#include "audio/AudioSystem.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/Window.h"
#include "widgets/AboutWindow.h"

namespace ScreenChrome {

Pym::Window* ContainingWindow(Pym::GuiObject& object) {
    // On a screen the route ends at the screen, which shows in its manager's window.
    if (auto* window = dynamic_cast<Pym::Window*>(object.RouteRoot())) return window;
    Pym::ScreenManager* screens = object.FindScreenManager();
    return screens ? dynamic_cast<Pym::Window*>(screens->Content()) : nullptr;
}

void Close(Pym::GuiObject& object) {
    AudioSystem& audio = DllAudioSystemInstance();
    if (audio.IsOutputActive()) audio.StopOutput();
    if (Pym::Window* window = ContainingWindow(object)) window->Close();
}

void Minimise(Pym::GuiObject& object) {
    if (Pym::Window* window = ContainingWindow(object)) window->Minimize();
}

void ShowAbout(Pym::GuiObject& object, TiXmlElement* element) {
    std::unique_ptr<AboutWindow> about =
        Pym::CreateNamedObjectAs<AboutWindow>("AboutWindow", "AboutWindow", nullptr, element);
    if (!about) return;
    Pym::Window* window = ContainingWindow(object);
    // Centred over the window; the run places it relative to the window's corner.
    if (window)
        about->Move((window->GetWidth() - about->GetWidth()) / 2,
                    (window->GetHeight() - about->GetHeight()) / 2);
    about->DoModal(window);
    about->SetVisible(false);
}

}  // namespace ScreenChrome
