// A window of the model: its controls, its focus, its lifecycle (load, show, activate,
// query-unload, unload) and its key preview. The window logic derives from it; the form never
// draws and never blocks: modal showing goes through the driver.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/names.h"
#include "platform/numbered_error.h"
#include "platform/variant.h"
#include "ui/control.h"

namespace tolvane::ui {

enum class ShowMode { Modeless = 0, Modal = 1 };

// Why a form is being unloaded, as its query-unload event receives it.
enum class UnloadMode { ControlMenu = 0, Code = 1, WindowsSession = 2, TaskManager = 3 };

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// A control that a zoomed window draws apart from the rest.
struct ZoomApart {
    std::string control;    // every element of an array of that name
    bool keepsSize = true;  // drawn at its designed size, in its designed font
    int place = 2;          // 1: stands at its designed place; 2: its place follows the zoom
};

// A window declares its controls as members and wires their events in its constructor:
//
//   class frmRicValBase : public ui::Form {
//   public:
//       frmRicValBase();
//       ui::ControlArray<ui::TextBox> txt{*this, "txt"};
//       ui::CommandButton& comOk = add<ui::CommandButton>("comOk");
//       void Form_Load() override;
//   };
//   frmRicValBase::frmRicValBase() : Form("frmRicValBase") {
//       for (int i = 0; i < 10; ++i) txt.add(i);
//       comOk.on.onClick = [this] { obOk = true; hide(); };
//       txt.on.onGotFocus = [](int) { EvidenziaCampo(); };
//   }
//
// and is opened through its default instance: ui::desktop().load<frmRicValBase>().
class Form {
  public:
    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool keyPreview() const { return keyPreview_; }
    void setKeyPreview(bool value);
    int helpContextID() const { return helpContextID_; }
    void setHelpContextID(int id);
    long backColor() const { return backColor_; }
    void setBackColor(long color);
    const std::string& tag() const { return tag_; }
    void setTag(std::string tag);
    bool enabled() const { return enabled_; }
    void setEnabled(bool value);
    WindowState windowState() const { return windowState_; }
    void setWindowState(WindowState state);  // raises Resize
    double left() const { return left_; }
    double top() const { return top_; }
    double width() const { return width_; }
    double height() const { return height_; }
    void move(double left, double top, double width, double height);  // raises Resize
    // A window whose Form_Resize lays its controls out again says so: a display then hands it
    // the size a person gives the window. The others keep the size they were designed with.
    bool handlesResize() const { return handlesResize_; }
    void setHandlesResize(bool value) { handlesResize_ = value; }
    double scaleWidth() const { return width_; }
    double scaleHeight() const { return height_; }
    // The factor a display draws the window at (1: as designed): controls, their places and
    // their fonts, except what the controls treated apart keep.
    double zoom() const { return zoom_; }
    void setZoom(double factor, std::vector<ZoomApart> apart = {});
    // The entry of a control treated apart; nullptr: it follows the zoom.
    const ZoomApart* zoomApart(const Control& control) const;
    // Width in twips of a text in the form's font: an estimate, there is no real font here.
    double textWidth(std::string_view text) const;

    // Lifecycle. load() runs Form_Load once; show() loads first when needed. A modal show
    // returns when the form has been hidden or unloaded (the driver runs it).
    bool loaded() const { return loaded_; }
    bool unloadedForGood() const { return retired_; }
    bool visible() const { return visible_; }
    bool isModal() const { return modal_; }
    void load();
    void show(ShowMode mode = ShowMode::Modeless);
    void hide();
    // Runs QueryUnload and Unload; false when one of them cancelled.
    bool unload(UnloadMode mode = UnloadMode::Code);

    // Controls, in creation order. Control arrays add their elements through addElement.
    template <class T, class... Args>
    T& add(std::string name, Control* container = nullptr, Args&&... args) {
        return addElement<T>(std::move(name), container, -1, std::forward<Args>(args)...);
    }
    template <class T, class... Args>
    T& addElement(std::string name, Control* container, int index, Args&&... args) {
        auto control =
            std::make_unique<T>(*this, std::move(name), index, std::forward<Args>(args)...);
        T& ref = *control;
        adopt(std::move(control), container);
        return ref;
    }
    const std::vector<Control*>& controls() const { return order_; }
    // Case-insensitive; index -1 for a control that is not in an array.
    Control* findControl(std::string_view name, int index = -1) const;

    // Focus inside this form.
    Control* activeControl() const { return activeControl_; }
    // Next (previous) control in tab order that can take the focus, wrapping around.
    Control* nextInTabOrder(const Control* from, bool backward = false) const;
    // The elements of the control array of that name take turns in one place, one shown at a
    // time (the pages under a tab strip, the panels of a choice): a display keeps the room of
    // the largest for each, so that showing another moves nothing around them.
    void addPages(std::string arrayName);
    bool isPage(const Control& control) const;
    // Shows a hidden page (frame or picture box) so that a field on it can take the focus;
    // the default makes the page visible. A tabbed window sets its own (select the tab).
    std::function<void(Control& page)> showPage;

    // Late binding by member name, for callers that know a window only by name: the window
    // registers its public procedures; unknown names raise 438.
    using Member = std::function<Variant(std::vector<Variant>& args)>;
    void expose(std::string name, Member member);
    bool hasMember(std::string_view name) const;
    Variant callByName(std::string_view name, std::vector<Variant> args = {});

    // Window events, overridden by the window logic.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(bool& /*Cancel*/, UnloadMode /*mode*/) {}
    virtual void Form_Unload(bool& /*Cancel*/) {}
    virtual void Form_KeyDown(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void Form_KeyPress(int& /*KeyAscii*/) {}
    virtual void Form_KeyUp(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void Form_Click() {}

    // The key pipeline: the form's key preview first, then the active control; a key code or
    // character set to 0 by a handler goes no further. keyAscii 0: a key with no character.
    void deliverKey(int keyCode, int shift, int keyAscii);

    // Used by Control and Desktop.
    void moveFocus(Control& target);
    void placeInTabOrder(Control& control, int tabIndex);
    void controlHidden(Control& control);
    void formChanged(Property property);
    void raiseActivate();
    void raiseDeactivate();
    void retire();
    void takeInitialFocus();
    long nextZPosition() { return ++zCounter_; }

  private:
    void adopt(std::unique_ptr<Control> control, Control* container);
    void showHiddenContainers(Control& target);

    std::string name_;
    std::string caption_;
    bool keyPreview_ = false;
    int helpContextID_ = 0;
    long backColor_ = 0xC0C0C0;
    std::string tag_;
    bool enabled_ = true;
    WindowState windowState_ = WindowState::Normal;
    double left_ = 0;
    double top_ = 0;
    double width_ = 9600;
    double height_ = 7200;
    double zoom_ = 1;
    std::vector<ZoomApart> zoomApart_;
    bool handlesResize_ = false;
    std::vector<std::string> pageArrays_;

    bool loaded_ = false;
    bool retired_ = false;
    bool visible_ = false;
    bool modal_ = false;

    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> order_;
    Control* activeControl_ = nullptr;
    Control* focusHolder_ = nullptr;  // the control whose GotFocus ran last, not yet left
    unsigned long focusSerial_ = 0;
    long zCounter_ = 0;
    CaselessMap<Member> members_;
};

}  // namespace tolvane::ui
