// The Qt window of one form of the model: widgets for its controls, laid out from the order and
// captions the form declares, refreshed from the model on every change, and the filter that
// turns what a person does into the model's user actions. Never changes the model directly.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "ui/control.h"
#include "ui/form.h"

class QEventLoop;
class QScrollArea;
class QTimer;

namespace tolvane::qt {

class FormView : public QObject {
  public:
    explicit FormView(ui::Form& form);
    ~FormView() override;

    ui::Form* form() const { return form_; }
    // The widgets are made when the window is first shown or drawn, once the form's load has
    // set its captions; the timers live from the load on.
    void ensureBuilt();
    QWidget* window() const { return window_; }
    QWidget* widgetFor(const ui::Control& control) const;

    // Model to view.
    void refreshControl(ui::Control& control);
    void refreshForm();
    void showFocus(ui::Control* control);
    // A control added after the window was built gets its widget at once; its container is
    // laid out again at the next turn of the event loop (or at flushLayouts), so that a panel
    // made of many controls is laid out once.
    void controlAdded(ui::Control& control);
    void flushLayouts();
    // A control moved or resized: a viewport's child moves at once, a control of a grid has
    // its container laid out again when its place differs from the one it was laid out at.
    void geometryChanged(ui::Control& control);
    // A picture box of the form holding controls, visible, brought to the front and covering
    // the window from its top left corner is a panel over it: what stands beside it is covered.
    bool coveredByPanel(const ui::Control& control) const;
    // Shows or covers the form's own controls after a panel came or went.
    void refreshPanels();
    // Lays out what was added since the window was built; makes timers of an unbuilt window.
    void addNewControls();
    // A window already built is drawn again at its new zoom.
    void zoomChanged();
    // Before the window opens, built and laid out: sized to its screen (the owner's) and centred
    // on the owner, or on the screen when there is none. Once open, only the user resizes it.
    void openOn(QWidget* owner);
    // A page of a set was shown: scrolled into sight from its top.
    void pageShown(const ui::Control& page);

    // Stops every reference to the model: the form is gone or going.
    void detach();

    QEventLoop* modalLoop = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void createTimers();
    // Lays out the children of a container (nullptr: the form) in host, again if it was.
    void layoutChildren(ui::Control* container, QWidget* host);
    void layoutGrid(const std::vector<ui::Control*>& children, QWidget* host);
    void layoutFlow(const std::vector<ui::Control*>& children, QWidget* host);
    // The control's widget under host (made when there is none), its children laid out inside.
    QWidget* place(ui::Control& control, QWidget* host);
    void placeAt(const ui::Control& control, QWidget* widget);
    void relayoutLater(const ui::Control* container);
    QWidget* makeWidget(ui::Control& control, QWidget* parent);
    void registerWidget(ui::Control& control, QWidget* widget);
    void watch(QObject* object, ui::Control& control);
    void connectSignals(ui::Control& control, QWidget* widget);
    void refreshWidget(ui::Control& control, QWidget* widget);
    // Ends a stretch of setting the view from the model; the widgets that moved on their own
    // meanwhile are set again from it.
    void endUpdate();
    // What a kind of control shows beside what every control shows, at the control's zoom.
    using RefreshKind = void (FormView::*)(ui::Control&, QWidget*, double zoom);
    static RefreshKind refreshOf(ui::ControlKind kind);
    void refreshTextBox(ui::Control& control, QWidget* widget, double zoom);
    void refreshLabel(ui::Control& control, QWidget* widget, double zoom);
    void refreshCommandButton(ui::Control& control, QWidget* widget, double zoom);
    void refreshCheckBox(ui::Control& control, QWidget* widget, double zoom);
    void refreshOptionButton(ui::Control& control, QWidget* widget, double zoom);
    void refreshComboBox(ui::Control& control, QWidget* widget, double zoom);
    void refreshListBox(ui::Control& control, QWidget* widget, double zoom);
    void refreshFrame(ui::Control& control, QWidget* widget, double zoom);
    void refreshPictureBox(ui::Control& control, QWidget* widget, double zoom);
    void refreshImage(ui::Control& control, QWidget* widget, double zoom);
    void refreshTabStrip(ui::Control& control, QWidget* widget, double zoom);
    void refreshGrid(ui::Control& control, QWidget* widget, double zoom);
    void refreshScrollBar(ui::Control& control, QWidget* widget, double zoom);
    void refreshProgressBar(ui::Control& control, QWidget* widget, double zoom);
    void refreshDriveListBox(ui::Control& control, QWidget* widget, double zoom);
    void refreshDirListBox(ui::Control& control, QWidget* widget, double zoom);
    void refreshToolbar(ui::Control& control, QWidget* widget, double zoom);
    // The window takes the size its layout and its panels suggest, never less than the designed
    // one, and never more than its screen has room for: the rest scrolls.
    void fitWindow();
    QSize wantedInside(const QSize& room) const;
    // Every page of a set holds the room of the largest of them.
    void holdPageRoom();
    // A picture box of the form's own that would cover it from its top left corner: a panel
    // over the window once brought to the front.
    bool isPanel(const ui::Control& control) const;
    // A window whose code handles Resize is told the size of its inside, where the view puts
    // its controls at the places the code gives them.
    void handleResize();
    void pushSelection(ui::Control& control);
    bool handleKey(ui::Control* control, QKeyEvent* event);
    bool handleMouse(ui::Control& control, QObject* watched, QEvent* event);
    // Runs a user action on the model, showing a run-time error the window did not trap.
    void act(const std::function<void()>& action);

    ui::Form* form_;
    QPointer<QWidget> window_;
    QPointer<QScrollArea> scroll_;          // scrolls the content when the window is too small
    QPointer<QWidget> content_;             // holds the form's own controls
    std::set<const ui::Control*> covered_;  // the form's own controls a panel covers
    std::map<const ui::Control*, QPointer<QWidget>> widgets_;
    std::map<const ui::Control*, QTimer*> timers_;
    std::map<QObject*, ui::Control*> watched_;
    std::size_t knownControls_ = 0;
    std::set<const ui::Control*> pending_;  // containers to lay out again; nullptr: the form
    bool flushQueued_ = false;
    std::map<const ui::Control*, std::array<double, 4>> laidAt_;  // designed place in a grid
    int updating_ = 0;                // > 0 while the view is being set from the model
    std::set<ui::Control*> drifted_;  // widgets that moved meanwhile: set again from the model
    ui::Control* pressed_ = nullptr;
    ui::Control* selectionShown_ = nullptr;  // the field whose selection the view shows
    bool cellMoved_ = false;  // the current cell of a grid moved since the last press
};

}  // namespace tolvane::qt
