// What the core procedures need of the main window: message boxes, the beep, and the few
// controls of KIHON they fill. The main window implements it; tests implement it with a script.
#pragma once

#include <string>

#include "platform/text/message_text.h"

namespace qd::core {

// The buttons of a message box and its answers (Buttons::YesNo, Answer::Yes).
namespace Buttons = qd::text::MessageButtons;
namespace Answer = qd::text::MessageAnswer;

class CoreUi {
public:
    virtual ~CoreUi() = default;

    virtual void beep() = 0;
    // A message box with the program's default title; returns the answer.
    virtual int msgBox(const std::string &text, int buttons = Buttons::Ok) = 0;

    // Menus of KIHON by control name (FILE_WRITE, SERCH_000, ...).
    virtual void setMenuEnabled(const std::string &name, bool enabled) = 0;
    // Text boxes and labels of KIHON by control name (Text4 .. Text7, Label11).
    virtual void setControlText(const std::string &name, const std::string &text) = 0;
    // A text box of KIHON shown in the colour of a figure its field cannot hold (the totals
    // Text4, Text6, Text7 beyond the 32 bits of the document totals), or in its own colours again.
    virtual void setControlMarked(const std::string &name, bool marked) = 0;
    // Combo and list boxes of KIHON by control name (Combo4, Combo5).
    virtual void comboClear(const std::string &name) = 0;
    virtual void comboAddItem(const std::string &name, const std::string &text) = 0;
    // KIHON.MousePointer: 11 hourglass, 0 default.
    virtual void setMousePointer(int pointer) = 0;

    // The sheet frame Frame1 of KIHON, placed in twips and shown (sheet set-up).
    virtual void showSheetFrame(int top, int left, int height, int width) = 0;
    // KIHON's own size in twips (the sheet frame is sized from it).
    virtual int formWidth() const = 0;
    virtual int formHeight() const = 0;

    // The edit tool window's row/column option, set by the sheet set-up: loads the window
    // hidden when it is not loaded yet.
    virtual void setEditAxisOption(bool rows) = 0;

    // The sheet set-up's calls into the main window: the window caption from the display,
    // unit and size-print modes, and the captions, alignment and widths of the current sheet's
    // header row and columns.
    virtual void KIHON_CAPTION_SET() = 0;
    virtual void GRID_HEADER_SET() = 0;
};

// A CoreUi that does nothing and answers OK: for the tools and for tests that do not look.
class NullCoreUi : public CoreUi {
public:
    void beep() override {}
    int msgBox(const std::string &, int buttons) override
    {
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    void setMenuEnabled(const std::string &, bool) override {}
    void setControlText(const std::string &, const std::string &) override {}
    void setControlMarked(const std::string &, bool) override {}
    void comboClear(const std::string &) override {}
    void comboAddItem(const std::string &, const std::string &) override {}
    void setMousePointer(int) override {}
    void showSheetFrame(int, int, int, int) override {}
    int formWidth() const override { return 15360; }
    int formHeight() const override { return 11520; }
    void setEditAxisOption(bool) override {}
    void KIHON_CAPTION_SET() override {}
    void GRID_HEADER_SET() override {}
};

} // namespace qd::core
