// The splitters of the working window dragged with the mouse: the boundary between the
// input box and the preview follows the drag, and the share the user gave the input box
// holds through a resize of the window and a saved and loaded configuration; the path
// labels of the two preview halves are shortened anew to the room they have after a
// resize or a drag.
#include <QFontMetrics>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"

namespace {

using SplitterTest = ShownProgramWindowsTest;

// The window resized by the window system (the user dragging its frame).
void ResizeWindow(Tprog* p, int Width, int Height) {
    p->Widget()->resize(Width, Height);
    QApplication::processEvents();
}

// The left column's boxes lie one below the other without gap or overlap.
void ExpectLeftColumnStacked(Tprog* p) {
    EXPECT_EQ(p->splitter_files_preview->Top(), p->Panel4->Height());
    EXPECT_EQ(p->Panel5->Top(), p->Panel4->Height() + p->splitter_files_preview->Height());
    EXPECT_EQ(p->Panel5->Top() + p->Panel5->Height(), p->Panel2->Height());
}

TEST_F(SplitterTest, TheInputBoxFollowsTheSplitterWithinTheBoxesMinimumSizes) {
    const int column = p->Panel2->Height();
    const int splitter = p->splitter_files_preview->Height();
    const int minimum = p->splitter_files_preview->MinSize;
    // Each drag starts where the one before left the boundary; the last two go past both
    // ends, where neither box becomes smaller than the splitter's minimum size.
    for (const int delta : {80, -100, 2000, -2000}) {
        SCOPED_TRACE(delta);
        const int before = p->Panel4->Height();
        DragCentreBy(p->splitter_files_preview, QPoint(0, delta));
        EXPECT_EQ(p->Panel4->Height(),
                  std::clamp(before + delta, minimum, column - splitter - minimum));
        ExpectLeftColumnStacked(p);
    }
}

TEST_F(SplitterTest, TheShareSetWithTheSplitterHoldsThroughResizeAndConfiguration) {
    const int width = p->Width(), height = p->Height();
    DragCentreBy(p->splitter_files_preview, QPoint(0, 90));
    const double share = double(p->Panel4->Height()) / p->Panel2->Height();
    ASSERT_GT(share, 0.6);

    // A lower window: the input box keeps its share of the column.
    ResizeWindow(p, width, height - 150);
    EXPECT_NEAR(p->Panel4->Height(), std::lround(share * p->Panel2->Height()), 1);
    ExpectLeftColumnStacked(p);

    // Saved, moved elsewhere, loaded: the saved height is back, and with it the share.
    TempFolder folder;
    const WideString file = folder.W("layout.qvr");
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        r.Answer = file;
        return 1;
    });
    ChooseMenuItem(p->m_konfig_save);
    const int saved = p->Panel4->Height();
    DragCentreBy(p->splitter_files_preview, QPoint(0, -120));
    ASSERT_LT(p->Panel4->Height(), saved - 100);
    ChooseMenuItem(p->m_konfig_load);
    EXPECT_EQ(p->Panel4->Height(), saved);
    ResizeWindow(p, width, height);
    EXPECT_NEAR(p->Panel4->Height(), std::lround(share * p->Panel2->Height()), 1);
    ExpectLeftColumnStacked(p);
}

// The caption a path label should show at its width: the whole path when it fits, else
// the longest "/.../" followed by the path's last folders and its name that fits, else
// the name alone. Measured with the font the label is drawn with.
WideString BestFit(const TLabel* Label) {
    const QFontMetrics metrics(Label->Widget()->font());
    auto fits = [&](const WideString& s) {
        return metrics.horizontalAdvance(QString::fromStdU16String(s)) <= Label->Width();
    };
    const WideString path = Label->Hint();
    if (fits(path)) return path;
    const size_t name = path.rfind(u'/') + 1;
    // Each folder after the first, from the left, is a place the shortened path may start.
    for (size_t slash = path.find(u'/', 1); slash != WideString::npos && slash < name;
         slash = path.find(u'/', slash + 1)) {
        const WideString candidate = u"/..." + path.substr(slash);
        if (fits(candidate)) return candidate;
    }
    const WideString dotted = u".../" + path.substr(name);
    return fits(dotted) ? dotted : path.substr(name);
}

TEST_F(SplitterTest, PathLabelsAreShortenedAnewToTheirHalvesAfterResizeAndDrag) {
    TempFolder folder;
    folder.Write("a-rather-long-folder-name/and-another-one/deeper-still/file-1.txt", "one\r\n");
    TypeInto(p->inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
    ASSERT_EQ(p->qulist->Items().Count(), 1);
    ClickListRow(p->qulist, 0);
    ASSERT_FALSE(p->vor_out->Hint().empty());

    struct Step {
        const char* what;
        std::function<void()> act;
    };
    const int width = p->Width(), height = p->Height();
    const Step steps[] = {
        {"after start", [] {}},
        {"wider window", [&] { ResizeWindow(p, width + 600, height); }},
        {"narrower window", [&] { ResizeWindow(p, width - 40, height); }},
        {"old half wider", [&] { DragCentreBy(p->splitter_preview_old_new, QPoint(120, 0)); }},
        {"old half narrower", [&] { DragCentreBy(p->splitter_preview_old_new, QPoint(-200, 0)); }},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        for (const TLabel* label : {p->vor_orig, p->vor_out})
            EXPECT_EQ(U8(label->Caption()), U8(BestFit(label))) << U8(label->Name());
    }
}

} // namespace
