// Building and refreshing the Qt window of a form: captions beside their fields, frames as group
// boxes, page containers stacked by their visibility, tab strips, grids and lists, a row of
// command buttons per container. Never raises a model event: the model is only read here.
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

// "&Conferma" shows as "Conferma" where no access key is drawn; "&&" is a plain "&".
QString withoutAccessKeys(const std::string& text) {
    QString out;
    QString in = q(text);
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] == '&') {
            if (i + 1 < in.size() && in[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += in[i];
    }
    return out;
}

QColor colour(long bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QPixmap pixmapOf(const ui::Picture& picture) {
    QPixmap pixmap;
    pixmap.loadFromData(reinterpret_cast<const uchar*>(picture.data.data()),
                        static_cast<uint>(picture.data.size()),
                        picture.format.empty() ? nullptr : picture.format.c_str());
    return pixmap;
}

// Model text positions count "\r\n" as two characters; a plain text editor shows one.
int viewPosition(const std::string& text, int modelPos) {
    QString before = q(text).left(modelPos);
    return modelPos - static_cast<int>(before.count('\r'));
}

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
    holdPageRoom();
    fitWindow();
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
            auto* table = new QTableWidget(parent);
            table->horizontalHeader()->hide();
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
    QSignalBlocker block(widget);
    refreshWidget(control, widget);
    --updating_;
}

void FormView::refreshWidget(ui::Control& c, QWidget* w) {
    w->setVisible(c.visible() && !coveredByPanel(c));
    w->setEnabled(c.enabled());
    w->setToolTip(q(c.toolTipText()));
    double zoom = zoomOf(c);
    QFont font = modelFont(c.font(), QApplication::font(w));
    if (zoom != 1) font.setPointSizeF(font.pointSizeF() * zoom);
    if (w->font() != font) w->setFont(font);
    // A control the window's code places takes the size it is given, not a size of its own.
    if (placedByModel(*form_, c)) placeAt(c, w);
    else keepDesignedSize(c, w, zoom);
    QPalette palette = w->palette();
    if (c.foreColor() != 0) {
        palette.setColor(QPalette::Text, colour(c.foreColor()));
        palette.setColor(QPalette::WindowText, colour(c.foreColor()));
    }

    switch (c.kind()) {
        case ui::ControlKind::TextBox: {
            auto& box = static_cast<ui::TextBox&>(c);
            palette.setColor(QPalette::Base, colour(box.backColor()));
            // The model keeps every field's selection; only the field with the focus shows it.
            bool focused = form_->activeControl() == &c;
            if (auto* line = qobject_cast<QLineEdit*>(w)) {
                if (line->text() != q(box.text())) line->setText(q(box.text()));
                line->setReadOnly(box.locked());
                line->setEchoMode(box.passwordChar().empty() ? QLineEdit::Normal
                                                             : QLineEdit::Password);
                if (focused && box.selLength() > 0)
                    line->setSelection(box.selStart(), box.selLength());
                else line->setCursorPosition(box.selStart());
            } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
                QString shown = q(box.text()).replace("\r\n", "\n");
                if (edit->toPlainText() != shown) edit->setPlainText(shown);
                edit->setReadOnly(box.locked());
                QTextCursor cursor = edit->textCursor();
                int start = viewPosition(box.text(), box.selStart());
                int end = viewPosition(box.text(), box.selStart() + box.selLength());
                cursor.setPosition(std::min<int>(start, static_cast<int>(shown.size())));
                if (focused)
                    cursor.setPosition(std::min<int>(end, static_cast<int>(shown.size())),
                                       QTextCursor::KeepAnchor);
                edit->setTextCursor(cursor);
            }
            break;
        }
        case ui::ControlKind::Label: {
            auto& label = static_cast<ui::Label&>(c);
            auto* view = static_cast<QLabel*>(w);
            view->setText(withoutAccessKeys(label.caption()));
            wrapCaption(label, view, zoom);
            break;
        }
        case ui::ControlKind::CommandButton:
            static_cast<QPushButton*>(w)->setText(q(static_cast<ui::CommandButton&>(c).caption()));
            break;
        case ui::ControlKind::CheckBox: {
            auto& check = static_cast<ui::CheckBox&>(c);
            auto* view = static_cast<QCheckBox*>(w);
            view->setText(q(check.caption()));
            view->setTristate(check.value() == 2);
            view->setCheckState(check.value() == 1   ? Qt::Checked
                                : check.value() == 2 ? Qt::PartiallyChecked
                                                     : Qt::Unchecked);
            break;
        }
        case ui::ControlKind::OptionButton: {
            auto& option = static_cast<ui::OptionButton&>(c);
            auto* view = static_cast<QRadioButton*>(w);
            view->setText(q(option.caption()));
            view->setChecked(option.value());
            break;
        }
        case ui::ControlKind::ComboBox: {
            auto& combo = static_cast<ui::ComboBox&>(c);
            auto* view = static_cast<QComboBox*>(w);
            palette.setColor(QPalette::Base, colour(combo.backColor()));
            view->setEditable(combo.style() != ui::ComboBox::Style::DropDownList);
            if (view->lineEdit() && !watched_.count(view->lineEdit())) {
                watch(view->lineEdit(), c);
                view->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
                view->lineEdit()->setAcceptDrops(false);
            }
            bool same = view->count() == combo.listCount();
            for (int i = 0; same && i < combo.listCount(); ++i)
                same = view->itemText(i) == q(combo.list(i));
            if (!same) {
                view->clear();
                for (const ui::ListItem& item : combo.items()) view->addItem(q(item.text));
            }
            view->setCurrentIndex(combo.listIndex());
            if (view->lineEdit() && view->lineEdit()->text() != q(combo.text()))
                view->lineEdit()->setText(q(combo.text()));
            if (view->lineEdit()) view->lineEdit()->setReadOnly(combo.locked());
            break;
        }
        case ui::ControlKind::ListBox: {
            auto& list = static_cast<ui::ListBox&>(c);
            auto* view = static_cast<QListWidget*>(w);
            palette.setColor(QPalette::Base, colour(list.backColor()));
            bool same = view->count() == list.listCount();
            for (int i = 0; same && i < list.listCount(); ++i)
                same = view->item(i)->text() == q(list.list(i));
            if (!same) {
                view->clear();
                for (const ui::ListItem& item : list.items()) view->addItem(q(item.text));
            }
            view->setCurrentRow(list.listIndex());
            break;
        }
        case ui::ControlKind::Frame:
            static_cast<QGroupBox*>(w)->setTitle(
                withoutAccessKeys(static_cast<ui::Frame&>(c).caption()));
            break;
        case ui::ControlKind::PictureBox: {
            auto& box = static_cast<ui::PictureBox&>(c);
            auto* view = static_cast<PictureView*>(w);
            view->setPicture(box.picture() ? pixmapOf(*box.picture()) : QPixmap());
            QStringList lines;
            for (const std::string& line : box.printedLines()) lines << q(line);
            view->setLines(lines);
            // A box that only holds fields keeps the window's colour; a drawing surface and a
            // viewport paint their own.
            bool surface = childrenOf(*form_, &c).empty() || isViewport(*form_, &c);
            view->setBackground(colour(box.backColor()), surface);
            view->setDesignedSize(QSize(pixels(box.width(), zoom), pixels(box.height(), zoom)));
            break;
        }
        case ui::ControlKind::Image: {
            auto& image = static_cast<ui::Image&>(c);
            auto* label = static_cast<QLabel*>(w);
            if (image.picture()) label->setPixmap(pixmapOf(*image.picture()));
            else label->clear();
            label->setScaledContents(image.stretch());
            break;
        }
        case ui::ControlKind::TabStrip: {
            auto& tabs = static_cast<ui::TabStrip&>(c);
            auto* view = static_cast<FittingTabBar*>(w);
            view->setDesignedWidth(pixels(tabs.width(), zoom));
            bool same = view->count() == tabs.tabCount();
            for (int i = 0; same && i < tabs.tabCount(); ++i)
                same = view->tabText(i) == q(tabs.tab(i + 1).caption);
            if (!same) {
                while (view->count() > 0) view->removeTab(0);
                for (int i = 1; i <= tabs.tabCount(); ++i) view->addTab(q(tabs.tab(i).caption));
            }
            if (tabs.selectedIndex() > 0) view->setCurrentIndex(tabs.selectedIndex() - 1);
            break;
        }
        case ui::ControlKind::Grid: {
            auto& grid = static_cast<ui::Grid&>(c);
            auto* table = static_cast<QTableWidget*>(w);
            table->setRowCount(grid.rows());
            table->setColumnCount(grid.cols());
            for (int r = 0; r < grid.rows(); ++r) {
                for (int col = 0; col < grid.cols(); ++col) {
                    QTableWidgetItem* item = table->item(r, col);
                    if (!item) {
                        item = new QTableWidgetItem;
                        table->setItem(r, col, item);
                    }
                    item->setText(q(grid.textMatrix(r, col)));
                    bool fixed = r < grid.fixedRows() || col < grid.fixedCols();
                    item->setBackground(fixed ? table->palette().button()
                                              : table->palette().base());
                    QFont cellFont = item->font();
                    cellFont.setBold(fixed);
                    item->setFont(cellFont);
                }
            }
            for (int col = 0; col < grid.cols(); ++col) {
                double width = grid.colWidth(col);
                if (width >= 0) table->setColumnWidth(col, pixels(width, zoom));
            }
            if (grid.row() >= grid.fixedRows() && grid.col() >= grid.fixedCols())
                table->setCurrentCell(grid.row(), grid.col());
            else table->setCurrentCell(-1, -1);
            break;
        }
        case ui::ControlKind::ScrollBar: {
            auto& bar = static_cast<ui::ScrollBar&>(c);
            auto* view = static_cast<QScrollBar*>(w);
            view->setRange(std::min(bar.min(), bar.max()), std::max(bar.min(), bar.max()));
            view->setSingleStep(bar.smallChange());
            view->setPageStep(bar.largeChange());
            view->setValue(bar.value());
            break;
        }
        case ui::ControlKind::ProgressBar: {
            auto& bar = static_cast<ui::ProgressBar&>(c);
            double span = bar.max() - bar.min();
            static_cast<QProgressBar*>(w)->setValue(
                span > 0 ? static_cast<int>((bar.value() - bar.min()) * 1000 / span) : 0);
            break;
        }
        case ui::ControlKind::DriveListBox: {
            auto& drives = static_cast<ui::DriveListBox&>(c);
            auto* view = static_cast<QComboBox*>(w);
            view->clear();
            for (const std::string& d : drives.drives()) view->addItem(q(d));
            view->setCurrentText(q(drives.drive()));
            break;
        }
        case ui::ControlKind::DirListBox:
            static_cast<FolderList*>(w)->showFolder(q(static_cast<ui::DirListBox&>(c).path()));
            break;
        case ui::ControlKind::Toolbar: {
            auto& bar = static_cast<ui::Toolbar&>(c);
            auto* view = static_cast<QToolBar*>(w);
            view->clear();
            ui::Toolbar* model = &bar;
            for (int i = 1; i <= bar.buttonCount(); ++i) {
                const ui::ToolbarButton& b = bar.button(i);
                QAction* action =
                    view->addAction(withoutAccessKeys(b.caption.empty() ? b.key : b.caption));
                action->setToolTip(q(b.toolTipText));
                action->setEnabled(b.enabled);
                action->setVisible(b.visible);
                std::string key = b.key;
                connect(action, &QAction::triggered, this, [this, model, key] {
                    if (form_) act([model, key] { ui::user::pressToolbarButton(*model, key); });
                });
            }
            break;
        }
        case ui::ControlKind::Timer:
        case ui::ControlKind::CommonDialog:
        case ui::ControlKind::ImageList:
            break;
    }
    w->setPalette(palette);
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
    --updating_;
}

}  // namespace tolvane::qt
