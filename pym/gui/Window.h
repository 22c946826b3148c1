#pragma once

#include <memory>
#include <string>

#include "platform/HostWindow.h"
#include "pym/gui/GridLayout.h"

namespace Pym {

class PymWnd;

// A grid layout that owns a native window: the root of its own coordinates, drawn into its
// host's back buffer, optionally shaped by its rendering's alpha.
class Window : public GridLayout {
public:
    enum Type { Application = 0, Child = 1, Popup = 2 };
    using CloseSignal = Signal::WindowClose;
    using VisibleSignal = Signal::WindowVisible;

    Window();
    ~Window() override;

    // --- slots ------------------------------------------------------------------------------

    void CloseSlot(Signal::Base&) { Close(); }
    void ToggleVisibilitySlot(Signal::Base&) { SetVisible(!IsVisible()); }
    void HideSlot(Signal::Base&) { SetVisible(false); }
    void MinimizeSlot(Signal::Base&) { Minimize(); }
    void MaxRestoreSlot(Signal::Base&);

    // --- operations -------------------------------------------------------------------------

    // Shows the window and runs the host's loop until Close; input to `relativeTo` is off
    // meanwhile.
    virtual void DoModal(Window* relativeTo = nullptr);
    virtual void Close();
    virtual void Maximize();
    virtual void Minimize();
    virtual void Restore();
    virtual bool IsMaximized() const;
    virtual bool IsMinimized() const;
    // Window managers arrange minimised windows themselves on this desktop: nothing to do.
    virtual void ArrangeIconic() {}
    // A Child window shows and hides with the window whose VisibleSignal reaches it.
    virtual void OnParentVisible(Signal::WindowVisible& signal);
    // 0 arrow, 1 diagonal sizing, 2 vertical sizing; other values change nothing.
    virtual void SetCursor(int type);
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title);
    // Loads a picture file as the window's icon; a missing one is traced and ignored.
    void SetIcon(const std::string& path);
    virtual void UpdateShape();

    void Move(int x, int y) override;
    bool Resize(int width, int height) override;
    void SetVisible(bool visible) override;
    void OnWindowSized(Signal::WindowSized& signal) override;

    // What the window shows changed as a whole (another screen): its outline is cut anew.
    void Reshape();

    // The host moved on its own (a window manager, or the first placement).
    void HostMoved(int x, int y);

    PymWnd* Host() const { return host_.get(); }
    Type GetType() const { return type_; }
    bool IsModal() const { return modal_; }
    bool IsShaped() const { return shaped_; }
    bool IsShapeValid() const { return shapeValid_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    void CreateFromXml(TiXmlElement* element) override;

private:
    void ReadType(const TiXmlElement* element);
    void CreateHost(const TiXmlElement* element);
    Window* MainWindowOf(const TiXmlElement* element) const;
    void MoveHost(int x, int y);
    const Platform::HostWindow* OwnerHost() const;

    std::unique_ptr<PymWnd> host_;
    std::string title_;
    bool modal_ = false;
    bool shapeValid_ = false;
    Type type_ = Application;
    bool shaped_ = false;
    bool startVisible_ = true;
};

}  // namespace Pym
