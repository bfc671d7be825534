// Model to widget: what every control's widget shows, then one small function per kind of
// control, found by its kind. Only reads the model; never raises a model event.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolBar>
#include <algorithm>
#include <array>

#include "qt/qt_folder_list.h"
#include "qt/qt_form_rules.h"
#include "qt/qt_form_view.h"
#include "qt/qt_grid_table.h"
#include "qt/qt_picture_view.h"
#include "qt/qt_window_fit.h"
#include "ui/controls.h"
#include "ui/user_input.h"

namespace tolvane::qt {

namespace {

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

// Fields and lists fill the room of their text or lines with the control's own colour.
bool fillsWithBackColor(ui::ControlKind kind) {
    return kind == ui::ControlKind::TextBox || kind == ui::ControlKind::ComboBox ||
           kind == ui::ControlKind::ListBox;
}

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

void FormView::refreshWidget(ui::Control& c, QWidget* w) {
    w->setVisible(c.visible() && !coveredByPanel(c));
    w->setEnabled(c.enabled());
    w->setToolTip(q(c.toolTipText()));
    const double zoom = zoomOf(c);
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
    if (fillsWithBackColor(c.kind())) palette.setColor(QPalette::Base, colour(c.backColor()));
    if (RefreshKind refresh = refreshOf(c.kind())) (this->*refresh)(c, w, zoom);
    w->setPalette(palette);
}

FormView::RefreshKind FormView::refreshOf(ui::ControlKind kind) {
    // Timers, common dialogs and image lists have no widget to refresh.
    static const auto table = [] {
        std::array<RefreshKind, static_cast<std::size_t>(ui::ControlKind::ImageList) + 1> t{};
        auto set = [&t](ui::ControlKind k, RefreshKind f) { t[static_cast<std::size_t>(k)] = f; };
        set(ui::ControlKind::TextBox, &FormView::refreshTextBox);
        set(ui::ControlKind::Label, &FormView::refreshLabel);
        set(ui::ControlKind::CommandButton, &FormView::refreshCommandButton);
        set(ui::ControlKind::CheckBox, &FormView::refreshCheckBox);
        set(ui::ControlKind::OptionButton, &FormView::refreshOptionButton);
        set(ui::ControlKind::ComboBox, &FormView::refreshComboBox);
        set(ui::ControlKind::ListBox, &FormView::refreshListBox);
        set(ui::ControlKind::Frame, &FormView::refreshFrame);
        set(ui::ControlKind::PictureBox, &FormView::refreshPictureBox);
        set(ui::ControlKind::Image, &FormView::refreshImage);
        set(ui::ControlKind::TabStrip, &FormView::refreshTabStrip);
        set(ui::ControlKind::Grid, &FormView::refreshGrid);
        set(ui::ControlKind::ScrollBar, &FormView::refreshScrollBar);
        set(ui::ControlKind::ProgressBar, &FormView::refreshProgressBar);
        set(ui::ControlKind::DriveListBox, &FormView::refreshDriveListBox);
        set(ui::ControlKind::DirListBox, &FormView::refreshDirListBox);
        set(ui::ControlKind::Toolbar, &FormView::refreshToolbar);
        return t;
    }();
    return table[static_cast<std::size_t>(kind)];
}

void FormView::refreshTextBox(ui::Control& c, QWidget* w, double) {
    auto& box = static_cast<ui::TextBox&>(c);
    // The model keeps every field's selection; only the field with the focus shows it.
    bool focused = form_->activeControl() == &c;
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (line->text() != q(box.text())) line->setText(q(box.text()));
        line->setReadOnly(box.locked());
        line->setEchoMode(box.passwordChar().empty() ? QLineEdit::Normal : QLineEdit::Password);
        if (focused && box.selLength() > 0) line->setSelection(box.selStart(), box.selLength());
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
}

void FormView::refreshLabel(ui::Control& c, QWidget* w, double zoom) {
    auto& label = static_cast<ui::Label&>(c);
    auto* view = static_cast<QLabel*>(w);
    view->setText(withoutAccessKeys(label.caption()));
    wrapCaption(label, view, zoom);
}

void FormView::refreshCommandButton(ui::Control& c, QWidget* w, double) {
    static_cast<QPushButton*>(w)->setText(q(static_cast<ui::CommandButton&>(c).caption()));
}

void FormView::refreshCheckBox(ui::Control& c, QWidget* w, double) {
    auto& check = static_cast<ui::CheckBox&>(c);
    auto* view = static_cast<QCheckBox*>(w);
    view->setText(q(check.caption()));
    view->setTristate(check.value() == 2);
    view->setCheckState(check.value() == 1   ? Qt::Checked
                        : check.value() == 2 ? Qt::PartiallyChecked
                                             : Qt::Unchecked);
}

void FormView::refreshOptionButton(ui::Control& c, QWidget* w, double) {
    auto& option = static_cast<ui::OptionButton&>(c);
    auto* view = static_cast<QRadioButton*>(w);
    view->setText(q(option.caption()));
    view->setChecked(option.value());
}

void FormView::refreshComboBox(ui::Control& c, QWidget* w, double) {
    auto& combo = static_cast<ui::ComboBox&>(c);
    auto* view = static_cast<QComboBox*>(w);
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
}

void FormView::refreshListBox(ui::Control& c, QWidget* w, double) {
    auto& list = static_cast<ui::ListBox&>(c);
    auto* view = static_cast<QListWidget*>(w);
    bool same = view->count() == list.listCount();
    for (int i = 0; same && i < list.listCount(); ++i)
        same = view->item(i)->text() == q(list.list(i));
    if (!same) {
        view->clear();
        for (const ui::ListItem& item : list.items()) view->addItem(q(item.text));
    }
    view->setCurrentRow(list.listIndex());
}

void FormView::refreshFrame(ui::Control& c, QWidget* w, double) {
    static_cast<QGroupBox*>(w)->setTitle(withoutAccessKeys(static_cast<ui::Frame&>(c).caption()));
}

void FormView::refreshPictureBox(ui::Control& c, QWidget* w, double zoom) {
    auto& box = static_cast<ui::PictureBox&>(c);
    auto* view = static_cast<PictureView*>(w);
    view->setPicture(box.picture() ? pixmapOf(*box.picture()) : QPixmap());
    QStringList lines;
    for (const std::string& line : box.printedLines()) lines << q(line);
    view->setLines(lines);
    // A box that only holds fields keeps the window's colour; a drawing surface and a viewport
    // paint their own.
    bool surface = childrenOf(*form_, &c).empty() || isViewport(*form_, &c);
    view->setBackground(colour(box.backColor()), surface);
    view->setDesignedSize(QSize(pixels(box.width(), zoom), pixels(box.height(), zoom)));
}

void FormView::refreshImage(ui::Control& c, QWidget* w, double) {
    auto& image = static_cast<ui::Image&>(c);
    auto* label = static_cast<QLabel*>(w);
    if (image.picture()) label->setPixmap(pixmapOf(*image.picture()));
    else label->clear();
    label->setScaledContents(image.stretch());
}

void FormView::refreshTabStrip(ui::Control& c, QWidget* w, double zoom) {
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
}

void FormView::refreshGrid(ui::Control& c, QWidget* w, double zoom) {
    auto& grid = static_cast<ui::Grid&>(c);
    auto* table = static_cast<GridTable*>(w);
    QFont bold = table->font();
    bold.setBold(true);
    // The fixed rows are the table's heading: they stay on top and no click or key reaches them.
    const int fixed = grid.fixedRows();
    table->setRowCount(grid.rows() - fixed);
    table->setColumnCount(grid.cols());
    table->horizontalHeader()->setVisible(fixed > 0);
    for (int col = 0; col < grid.cols(); ++col) {
        QStringList heading;
        for (int r = 0; r < fixed; ++r) heading << q(grid.textMatrix(r, col));
        QTableWidgetItem* head = table->horizontalHeaderItem(col);
        if (!head) {
            head = new QTableWidgetItem;
            head->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            table->setHorizontalHeaderItem(col, head);
        }
        if (head->text() != heading.join('\n')) head->setText(heading.join('\n'));
        if (head->font() != bold) head->setFont(bold);
    }
    // Only what differs is set: a list filled cell by cell comes here once per cell.
    for (int r = fixed; r < grid.rows(); ++r) {
        for (int col = 0; col < grid.cols(); ++col) {
            QTableWidgetItem* item = table->item(r - fixed, col);
            if (!item) {
                item = new QTableWidgetItem;
                table->setItem(r - fixed, col, item);
            }
            const QString text = q(grid.textMatrix(r, col));
            if (item->text() != text) item->setText(text);
            const bool heading = col < grid.fixedCols();
            const QFont font = heading ? bold : table->font();
            if (item->font() != font) item->setFont(font);
            const QBrush back = heading ? table->palette().button() : table->palette().base();
            if (item->background() != back) item->setBackground(back);
        }
    }
    std::vector<int> widths;
    for (int col = 0; col < grid.cols(); ++col) {
        double width = grid.colWidth(col);
        widths.push_back(width >= 0 ? pixels(width, zoom)
                                    : table->horizontalHeader()->defaultSectionSize());
    }
    table->setColumnWidths(std::move(widths));
    if (grid.row() >= fixed && grid.col() >= grid.fixedCols())
        table->setCurrentCell(grid.row() - fixed, grid.col());
    else table->setCurrentCell(-1, -1);
}

void FormView::refreshScrollBar(ui::Control& c, QWidget* w, double) {
    auto& bar = static_cast<ui::ScrollBar&>(c);
    auto* view = static_cast<QScrollBar*>(w);
    view->setRange(std::min(bar.min(), bar.max()), std::max(bar.min(), bar.max()));
    view->setSingleStep(bar.smallChange());
    view->setPageStep(bar.largeChange());
    view->setValue(bar.value());
}

void FormView::refreshProgressBar(ui::Control& c, QWidget* w, double) {
    auto& bar = static_cast<ui::ProgressBar&>(c);
    double span = bar.max() - bar.min();
    static_cast<QProgressBar*>(w)->setValue(
        span > 0 ? static_cast<int>((bar.value() - bar.min()) * 1000 / span) : 0);
}

void FormView::refreshDriveListBox(ui::Control& c, QWidget* w, double) {
    auto& drives = static_cast<ui::DriveListBox&>(c);
    auto* view = static_cast<QComboBox*>(w);
    view->clear();
    for (const std::string& d : drives.drives()) view->addItem(q(d));
    view->setCurrentText(q(drives.drive()));
}

void FormView::refreshDirListBox(ui::Control& c, QWidget* w, double) {
    static_cast<FolderList*>(w)->showFolder(q(static_cast<ui::DirListBox&>(c).path()));
}

void FormView::refreshToolbar(ui::Control& c, QWidget* w, double) {
    auto& bar = static_cast<ui::Toolbar&>(c);
    auto* view = static_cast<QToolBar*>(w);
    // The buttons are made again only when the keys differ: a button may be the one whose click
    // is running now.
    QList<QAction*> actions = view->actions();
    bool same = actions.size() == bar.buttonCount();
    for (int i = 0; same && i < bar.buttonCount(); ++i)
        same = actions[i]->data().toString() == q(bar.button(i + 1).key);
    if (!same) {
        view->clear();
        ui::Toolbar* model = &bar;
        for (int i = 1; i <= bar.buttonCount(); ++i) {
            std::string key = bar.button(i).key;
            QAction* action = view->addAction(QString());
            action->setData(q(key));
            connect(action, &QAction::triggered, this, [this, model, key] {
                if (form_ && ui::user::reachable(*model))
                    act([model, key] { ui::user::pressToolbarButton(*model, key); });
            });
            if (QWidget* button = view->widgetForAction(action)) watch(button, c);
        }
        actions = view->actions();
    }
    for (int i = 1; i <= bar.buttonCount(); ++i) {
        const ui::ToolbarButton& b = bar.button(i);
        QAction* action = actions[i - 1];
        const std::string& caption = b.caption.empty() ? b.key : b.caption;
        action->setText(withoutAccessKeys(caption));
        // The letter marked in the caption presses the button with Alt, as on a command button.
        action->setShortcut(QKeySequence::mnemonic(q(caption)));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(q(b.toolTipText));
        action->setEnabled(b.enabled);
        action->setVisible(b.visible);
    }
}

}  // namespace tolvane::qt
