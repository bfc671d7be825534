// Tab strips, scroll and progress bars, timers and toolbars. A timer never runs on wall time:
// the back end or a test ticks it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace tolvane::ui {

struct Tab {
    std::string caption;
    std::string key;
    std::string tag;
    std::string toolTipText;
};

// Tabs are numbered from 1. Choosing a tab, by code or by the user, raises BeforeClick (which
// may cancel) and then Click, only when the choice changes.
class TabStrip : public Control {
  public:
    TabStrip(Form& form, std::string name, int index);

    int tabCount() const { return static_cast<int>(tabs_.size()); }
    const Tab& tab(int i) const;  // raises 35600 out of range
    int addTab(std::string caption, std::string key = {}, std::string toolTipText = {});
    void setTabToolTipText(int i, std::string text);  // raises 35600 out of range
    void clearTabs();
    int selectedIndex() const { return selected_; }  // 0 only when there is no tab
    void setSelectedIndex(int i);
    // Inner area where the pages lie.
    double clientLeft() const { return left(); }
    double clientTop() const { return top() + kTabHeight; }
    double clientWidth() const { return width(); }
    double clientHeight() const { return height() > kTabHeight ? height() - kTabHeight : 0; }

    static constexpr double kTabHeight = 360;

  private:
    std::vector<Tab> tabs_;
    int selected_ = 0;
};

// Ranges are 16-bit (6 outside); a value outside min..max raises
// 380. Setting the value raises Change when it differs. A user dragging the thumb moves the
// value with a Scroll event at each step, and Change comes once, when the thumb is let go.
class ScrollBar : public Control {
  public:
    enum class Orientation { Horizontal, Vertical };
    ScrollBar(Form& form, std::string name, int index, Orientation orientation);
    ScrollBar(Form& form, std::string name, int index);

    Orientation orientation() const { return orientation_; }
    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    int smallChange() const { return small_; }
    int largeChange() const { return large_; }
    void setMin(long v);
    void setMax(long v);
    void setValue(long v);
    void setSmallChange(long v);
    void setLargeChange(long v);
    // The thumb dragged to v (380 outside the range): Scroll, even when the value stays.
    void dragTo(long v);
    // The thumb let go: Change when the drag moved the value.
    void endDrag();
    bool dragging() const { return dragging_; }

  private:
    void fitValue();
    // 6 outside 16 bits, 380 outside min..max.
    void checkValue(long v) const;
    Orientation orientation_;
    bool dragging_ = false;
    int dragStart_ = 0;
    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
    int small_ = 1;
    int large_ = 1;
};

class ProgressBar : public Control {
  public:
    ProgressBar(Form& form, std::string name, int index);
    double min() const { return min_; }
    double max() const { return max_; }
    double value() const { return value_; }
    void setMin(double v);
    void setMax(double v);
    void setValue(double v);  // outside min..max raises 380
    bool canTakeFocus() const override { return false; }

  private:
    double min_ = 0;
    double max_ = 100;
    double value_ = 0;
};

// Never runs on wall time: the back end (or a test) calls tick() when the interval has passed.
class Timer : public Control {
  public:
    Timer(Form& form, std::string name, int index);
    int interval() const { return interval_; }  // milliseconds, 0: stopped
    void setInterval(int ms);
    // Raises Timer when enabled with an interval above 0; returns whether it did.
    bool tick();
    bool canTakeFocus() const override { return false; }

  private:
    int interval_ = 0;
};

// A row of command buttons known by key ("Nuovo", "Salva" ...). Pressing one does not move
// the focus, so the field being edited runs no leave rule.
struct ToolbarButton {
    std::string key;
    std::string caption;
    std::string toolTipText;
    bool enabled = true;
    bool visible = true;
};

class Toolbar : public Control {
  public:
    Toolbar(Form& form, std::string name, int index);

    int buttonCount() const { return static_cast<int>(buttons_.size()); }
    // 1-based, raises 35600 out of range.
    const ToolbarButton& button(int i) const;
    // nullptr when no button has that key (compared without regard to case).
    const ToolbarButton* findButton(std::string_view key) const;
    int addButton(std::string key, std::string caption = {}, std::string toolTipText = {});
    void setButtonEnabled(std::string_view key, bool enabled);
    void setButtonVisible(std::string_view key, bool visible);
    // Raises ButtonClick with the button's key when the button is there, enabled and visible;
    // returns whether it did.
    bool pressButton(std::string_view key);
    bool canTakeFocus() const override { return false; }
    bool handles(Handler handler) const override;

    std::function<void(const std::string& key)> onButtonClick;

  private:
    ToolbarButton& find(std::string_view key);
    std::vector<ToolbarButton> buttons_;
};

}  // namespace tolvane::ui
