// Building the Qt window of a form: captions beside their fields, frames as group boxes, page
// containers stacked by their visibility, tab strips, grids and lists, a row of command buttons
// per container. Never raises a model event: the model is only read here.
#include "qt/qt_form_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/qt_caption_label.h"
#include "qt/qt_folder_list.h"
#include "qt/qt_form_rules.h"
#include "qt/qt_grid_table.h"
#include "qt/qt_picture_view.h"
#include "qt/qt_window_fit.h"
#include "ui/controls.h"
#include "ui/user_input.h"

namespace tolvane::qt {

namespace {

// The top-level window: its close box asks the model (query-unload), it never closes itself.
class FormWindow : public QWidget {
  public:
    explicit FormWindow(std::function<void()> onClose) : onClose_(std::move(onClose)) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (onClose_) onClose_();
    }

  private:
    std::function<void()> onClose_;
};

QString q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void keepDesignedSize(const ui::Control& c, QWidget* w, double zoom) {
    if (!w) return;
    ui::ControlKind kind = c.kind();
    bool tall =
        kind == ui::ControlKind::ListBox || kind == ui::ControlKind::Grid ||
        kind == ui::ControlKind::DirListBox ||
        (kind == ui::ControlKind::TextBox && static_cast<const ui::TextBox&>(c).multiLine());
    if (tall && c.height() > 0) w->setFixedHeight(std::max(pixels(c.height(), zoom), 18));
    // A list or text area's suggested width says nothing of its rows: it keeps the designed one.
    if (tall && c.width() > 0) w->setMinimumWidth(pixels(c.width(), zoom));
    // A check box or option shows its whole caption, whatever width it was designed with.
    if (c.width() <= 0 || !(isField(kind) || kind == ui::ControlKind::CommandButton)) return;
    if (kind == ui::ControlKind::Grid || kind == ui::ControlKind::ListBox ||
        kind == ui::ControlKind::DirListBox)
        return;
    int designed = pixels(c.width(), zoom);
    w->setMaximumWidth(std::max(designed * 3 / 2, 24));
    if (isField(kind) && !tall) w->setMinimumWidth(std::min(designed, 400));
    if (kind == ui::ControlKind::CommandButton) w->setMinimumWidth(std::min(designed, 120));
}

void wrapCaption(const ui::Label& label, QLabel* view, double zoom) {
    int designed = label.width() > 0 ? std::max(pixels(label.width(), zoom), 120) : 0;
    bool longCaption = label.caption().size() > 60;
    // A caption wider than it was designed (a value read after the window opened) wraps where
    // the window, which keeps its size, has no room for its one line.
    bool wider = designed > 0 && view->fontMetrics().horizontalAdvance(view->text()) > designed;
    view->setWordWrap(longCaption || wider);
    view->setMinimumSize(0, 0);
    if (auto* caption = dynamic_cast<CaptionLabel*>(view))
        caption->setNarrowest(!longCaption && wider ? designed : 0);
    if (!longCaption || designed == 0) return;
    // A long caption's lines are counted in its designed width, which it never goes below.
    view->setMinimumWidth(designed);
    view->setMinimumHeight(view->heightForWidth(designed));
}

FormView::FormView(ui::Form& form) : form_(&form) { createTimers(); }

void FormView::createTimers() {
    for (ui::Control* c : form_->controls()) {
        if (c->kind() != ui::ControlKind::Timer || timers_.count(c)) continue;
        makeWidget(*c, nullptr);
        refreshControl(*c);
    }
}

void FormView::ensureBuilt() {
    if (!window_ && form_) build();
}

FormView::~FormView() {
    for (auto& [control, timer] : timers_) delete timer;
    delete window_.data();
}

void FormView::detach() {
    form_ = nullptr;
    for (auto& [control, timer] : timers_) timer->stop();
    watched_.clear();
    drifted_.clear();
    pressed_ = nullptr;
    selectionShown_ = nullptr;
}

QWidget* FormView::widgetFor(const ui::Control& control) const {
    auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second.data();
}

void FormView::build() {
    auto* window = new FormWindow([this] {
        if (form_) act([this] { ui::user::close(*form_); });
    });
    window_ = window;
    window->setObjectName(q(form_->name()));
    window->installEventFilter(this);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    for (ui::Control* c : childrenOf(*form_, nullptr)) {
        if (c->kind() != ui::ControlKind::Toolbar) continue;
        QWidget* bar = makeWidget(*c, window);
        outer->addWidget(bar);
    }
    // What does not fit on the screen scrolls: a panel taller than the screen, a zoomed window.
    auto* scroll = new QScrollArea(window);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll_ = scroll;
    auto* content = new QWidget;
    content_ = content;
    content->installEventFilter(this);
    scroll->setWidget(content);
    outer->addWidget(scroll, 1);
    layoutChildren(nullptr, content);
    knownControls_ = form_->controls().size();
    refreshForm();
    for (ui::Control* c : form_->controls()) refreshControl(*c);
}

QWidget* FormView::makeWidget(ui::Control& c, QWidget* parent) {
    QWidget* w = nullptr;
    switch (c.kind()) {
        case ui::ControlKind::TextBox:
            if (static_cast<ui::TextBox&>(c).multiLine()) w = new QPlainTextEdit(parent);
            else w = new QLineEdit(parent);
            break;
        case ui::ControlKind::Label:
            w = new CaptionLabel(parent);
            break;
        case ui::ControlKind::CheckBox:
            w = new QCheckBox(parent);
            break;
        case ui::ControlKind::OptionButton: {
            auto* radio = new QRadioButton(parent);
            radio->setAutoExclusive(false);  // the model keeps the group
            w = radio;
            break;
        }
        case ui::ControlKind::ComboBox:
        case ui::ControlKind::DriveListBox:
            w = new QComboBox(parent);
            break;
        case ui::ControlKind::ListBox:
            w = new QListWidget(parent);
            break;
        case ui::ControlKind::CommandButton:
            w = new QPushButton(parent);
            break;
        case ui::ControlKind::Frame:
            w = new QGroupBox(parent);
            break;
        case ui::ControlKind::PictureBox:
            w = new PictureView(parent);
            break;
        case ui::ControlKind::Image:
            w = new QLabel(parent);
            break;
        case ui::ControlKind::TabStrip:
            w = new FittingTabBar(parent);
            break;
        case ui::ControlKind::Grid: {
            auto* table = new GridTable(parent);
            // The heading shows the grid's fixed rows; it sorts, selects and moves nothing.
            table->horizontalHeader()->hide();
            table->horizontalHeader()->setSectionsClickable(false);
            table->horizontalHeader()->setSectionsMovable(false);
            table->horizontalHeader()->setHighlightSections(false);
            table->verticalHeader()->hide();
            table->setEditTriggers(QAbstractItemView::NoEditTriggers);
            table->setSelectionMode(QAbstractItemView::SingleSelection);
            w = table;
            break;
        }
        case ui::ControlKind::ScrollBar: {
            auto& bar = static_cast<ui::ScrollBar&>(c);
            w = new QScrollBar(bar.orientation() == ui::ScrollBar::Orientation::Vertical
                                   ? Qt::Vertical
                                   : Qt::Horizontal,
                               parent);
            break;
        }
        case ui::ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(0, 1000);
            w = bar;
            break;
        }
        case ui::ControlKind::DirListBox:
            w = new FolderList(parent);
            break;
        case ui::ControlKind::Toolbar:
            w = new QToolBar(parent);
            break;
        case ui::ControlKind::Timer: {
            if (timers_.count(&c)) return nullptr;
            auto* timer = new QTimer(this);
            ui::Control* model = &c;
            connect(timer, &QTimer::timeout, this, [this, model] {
                if (form_) act([model] { static_cast<ui::Timer*>(model)->tick(); });
            });
            timers_[&c] = timer;
            return nullptr;
        }
        case ui::ControlKind::CommonDialog:
        case ui::ControlKind::ImageList:
            return nullptr;
    }
    w->setObjectName(q(c.displayName()));
    registerWidget(c, w);
    return w;
}

void FormView::registerWidget(ui::Control& control, QWidget* widget) {
    widgets_[&control] = widget;
    // Focus moves only when the model moves it: a click asks the model first.
    widget->setFocusPolicy(control.canTakeFocus() ? Qt::TabFocus : Qt::NoFocus);
    // Text changes only through the model: no context-menu editing, no drops.
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
        qobject_cast<QComboBox*>(widget)) {
        widget->setContextMenuPolicy(Qt::NoContextMenu);
        widget->setAcceptDrops(false);
    }
    watch(widget, control);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->lineEdit()) watch(combo->lineEdit(), control);
    }
    if (auto* view = qobject_cast<QAbstractScrollArea*>(widget)) watch(view->viewport(), control);
    connectSignals(control, widget);
}

void FormView::watch(QObject* object, ui::Control& control) {
    // A toolbar's buttons come and go with its keys: a gone one must not stand for its control.
    if (!watched_.count(object))
        connect(object, &QObject::destroyed, this, [this, object] { watched_.erase(object); });
    watched_[object] = &control;
    object->installEventFilter(this);
}

void FormView::refreshForm() {
    if (!form_ || !window_) return;
    window_->setWindowTitle(q(form_->caption()));
    window_->setEnabled(form_->enabled());
    Qt::WindowStates state = Qt::WindowNoState;
    if (form_->windowState() == ui::WindowState::Minimized) state = Qt::WindowMinimized;
    if (form_->windowState() == ui::WindowState::Maximized) state = Qt::WindowMaximized;
    if (window_->windowState() != state) window_->setWindowState(state);
}

void FormView::refreshControl(ui::Control& control) {
    if (!form_) return;
    if (auto it = timers_.find(&control); it != timers_.end()) {
        auto& timer = static_cast<ui::Timer&>(control);
        if (timer.enabled() && timer.interval() > 0) {
            if (!it->second->isActive() || it->second->interval() != timer.interval())
                it->second->start(timer.interval());
        } else {
            it->second->stop();
        }
        return;
    }
    QWidget* widget = widgetFor(control);
    if (!widget) return;
    ++updating_;
    {
        QSignalBlocker block(widget);
        refreshWidget(control, widget);
    }
    endUpdate();
}

void FormView::endUpdate() {
    if (--updating_ > 0 || drifted_.empty()) return;
    std::set<ui::Control*> drifted;
    drifted.swap(drifted_);
    for (ui::Control* c : drifted) refreshControl(*c);
}

void FormView::showFocus(ui::Control* control) {
    // The field left hides its selection, the one reached shows it.
    if (selectionShown_ != control) {
        ui::Control* left = selectionShown_;
        selectionShown_ = control;
        if (left && left->kind() == ui::ControlKind::TextBox) refreshControl(*left);
        if (control && control->kind() == ui::ControlKind::TextBox) refreshControl(*control);
    }
    if (!control || !window_) return;
    QWidget* widget = widgetFor(*control);
    if (!widget) return;
    ++updating_;
    if (window_->isVisible()) widget->setFocus(Qt::OtherFocusReason);
    endUpdate();
}

}  // namespace tolvane::qt
