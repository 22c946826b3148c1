#pragma once

#include <tinyxml.h>

namespace Pym {
class GuiObject;
class Window;
}  // namespace Pym

// What every screen's window chrome does (close, minimise, About), for the controller of the
// screen an object belongs to.
namespace ScreenChrome {

// The window the object shows in: the one its route ends at, or, on a screen, the window of
// the screen manager. Null before the object is placed.
Pym::Window* ContainingWindow(Pym::GuiObject& object);

// Silences the output first, so the sound never outlives the window, then closes it.
void Close(Pym::GuiObject& object);
void Minimise(Pym::GuiObject& object);

// Shows the About window built from `element` centred over the object's window, until the
// user closes it.
void ShowAbout(Pym::GuiObject& object, TiXmlElement* element);

}  // namespace ScreenChrome
