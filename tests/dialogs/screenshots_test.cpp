// Screenshots of the CSV windows and the table editor in German and English, written under
// the build folder (screenshots/dialogs/) to look at; the test checks that no caption is
// cut off where a control is too narrow for its text.
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/u_csv_editing.h"
#include "dialogs/u_csv_order.h"
#include "dialogs/u_transform.h"
#include "engine/Transliteration.h"
#include "platform/PageControls.h"

namespace {

// Captions of check boxes, radio buttons, buttons and single-line labels fit their controls.
void expectCaptionsFit(TForm* form, const std::string& what) {
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(form->Components(i));
        if (!c || !c->Visible()) continue;
        const bool button = dynamic_cast<TButtonControl*>(c) != nullptr;
        auto* label = dynamic_cast<TLabel*>(c);
        if (!button && !(label && !label->WordWrap())) continue;
        const QFontMetrics fm(c->Widget()->font());
        const int room = button && !dynamic_cast<TButton*>(c) ? c->Width() - 22 : c->Width();
        const int needed = fm.horizontalAdvance(
            QString::fromStdU16String(label ? label->DisplayText() : c->Caption()));
        EXPECT_LE(needed, room) << what << ": " << U8(c->Name()) << " \"" << U8(c->Caption())
                                << "\"";
    }
}

template <class T> void shoot(const char* name, const std::function<void(T*)>& prepare = {}) {
    for (const char16_t* language : {u"de", u"en"}) {
        ScopedLanguage scoped(language);
        T* w = new T(nullptr);
        w->DoCreate();
        if (prepare) prepare(w);
        w->Show();
        QApplication::processEvents();
        const std::string what = std::string(name) + "-" + U8(language);
        expectCaptionsFit(w, what);
        const QString dir = QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/dialogs");
        QDir().mkpath(dir);
        const QImage shot = w->Widget()->grab().toImage();
        EXPECT_TRUE(shot.save(dir + "/" + QString::fromStdString(what) + ".png"));
        w->Free();
    }
}

TEST(Screenshots, CsvEditingOnEveryTab) {
    FakeWorkingWindow working;
    for (int page = 0; page < 5; ++page) {
        const std::string name = "csv_editing-tab" + std::to_string(page);
        shoot<Tcsv_editing>(name.c_str(), [page](Tcsv_editing* w) {
            w->PageControl1->SetActivePageIndex(page);
            w->ed_suchen->SetText(u"(\\d+)");
            w->cb_suchen_regex->SetChecked(true);
            w->Button3Click(w->Button3);
            w->Button5Click(w->Button5);
            w->Button6Click(w->Button6);
        });
    }
}

TEST(Screenshots, CsvOrderAndTransform) {
    FakeWorkingWindow working;
    shoot<Tcsv_order>("csv_order");
    shoot<Ttransform>("transform",
                      [](Ttransform* w) { w->liste->SetText(BuiltInTranscriptTables()[1].text); });
}

} // namespace
