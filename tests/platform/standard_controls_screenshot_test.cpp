// A small demo window of the class library, rendered offscreen and saved as a PNG
// under the build folder to look at (screenshots/platform_standard_controls.png).
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QPixmap>
#include <gtest/gtest.h>

#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"

namespace {

class TDemoForm : public TForm {
public:
    TPanel* header;
    TLabel* nameLabel;
    TEdit* nameEdit;
    TMemo* memo;
    TComboBox* combo;
    TCheckBox* check;
    TCheckBox* pushLike;
    TGroupBox* group;
    TRadioButton* radioA;
    TRadioButton* radioB;
    TProgressBar* progress;
    TImage* image;
    TBevel* bevel;
    TButton* ok;
    TButton* cancel;

    explicit TDemoForm(TComponent* AOwner) : TForm(AOwner) {
        SetCaption(u"Quorbel - Demo Ω");
        SetClientWidth(520);
        SetClientHeight(360);
        header = Make<TPanel>(this);
        header->SetHeight(32);
        header->SetAlign(alTop);
        header->SetCaption(u"Ersetzen · Replace · Ζ 😀");
        header->SetColor(RGB(0xD4 - 50, 0xD0 - 50, 0xC8 - 50));
        nameLabel = Make<TLabel>(this);
        nameLabel->SetBounds(12, 48, 60, 13);
        nameLabel->SetCaption(u"&Name:");
        nameEdit = Make<TEdit>(this);
        nameEdit->SetBounds(80, 44, 200, 21);
        nameEdit->SetText(u"Grüße, Ωμέγα, 漢字");
        nameLabel->FocusControl = nameEdit;
        memo = Make<TMemo>(this);
        memo->SetBounds(12, 76, 268, 120);
        memo->SetScrollBars(ssVertical);
        memo->Lines().Add(u"First line");
        memo->Lines().Add(u"Zweite Zeile: äöü ß");
        memo->Lines().Add(u"Третья строка");
        memo->Lines().Add(u"4th line 😀");
        combo = Make<TComboBox>(this);
        combo->SetBounds(12, 206, 268, 21);
        for (const char16_t* s : {u"UTF-8", u"UTF-16 LE", u"ANSI"})
            combo->Items().Add(s);
        combo->SetItemIndex(0);
        check = Make<TCheckBox>(this);
        check->SetBounds(12, 238, 130, 17);
        check->SetCaption(u"&Only if changed");
        check->SetChecked(true);
        pushLike = Make<TCheckBox>(this);
        pushLike->SetBounds(150, 234, 130, 25);
        pushLike->SetCaption(u"Show &new");
        pushLike->SetPushLike(true);
        pushLike->SetChecked(true);
        group = Make<TGroupBox>(this);
        group->SetBounds(296, 44, 210, 80);
        group->SetCaption(u"Line breaks");
        radioA = Make<TRadioButton>(group);
        radioA->SetBounds(10, 22, 180, 17);
        radioA->SetCaption(u"CR LF - Windows");
        radioA->SetChecked(true);
        radioB = Make<TRadioButton>(group);
        radioB->SetBounds(10, 46, 180, 17);
        radioB->SetCaption(u"LF - Unix");
        image = Make<TImage>(this);
        image->SetBounds(296, 136, 64, 64);
        TCanvas& c = image->Canvas();
        c.Brush.Color = clWhite;
        c.FillRect(Rect(0, 0, 64, 64));
        c.Pen.Color = clRed;
        c.Pen.Width = 3;
        c.MoveTo(8, 8);
        c.LineTo(56, 56);
        c.MoveTo(56, 8);
        c.LineTo(8, 56);
        bevel = Make<TBevel>(this);
        bevel->SetBounds(370, 136, 136, 64);
        progress = Make<TProgressBar>(this);
        progress->SetBounds(296, 210, 210, 16);
        progress->SetPosition(60);
        ok = Make<TButton>(this);
        ok->SetBounds(350, 320, 75, 25);
        ok->SetCaption(u"OK");
        ok->SetDefault(true);
        ok->ModalResult = mrOk;
        cancel = Make<TButton>(this);
        cancel->SetBounds(431, 320, 75, 25);
        cancel->SetCaption(u"Abbrechen");
        cancel->Cancel = true;
        cancel->ModalResult = mrCancel;
    }

private:
    template <class T> T* Make(TWinControl* parent) {
        T* c = new T(this);
        c->SetParent(parent);
        return c;
    }
};

TEST(Demo, RendersOffscreenAndIsSaved) {
    auto* form = new TDemoForm(nullptr);
    form->Position = poScreenCenter;
    form->Show();
    QApplication::processEvents();
    QImage shot = form->Widget()->grab().toImage();
    EXPECT_EQ(shot.width(), 520);
    EXPECT_EQ(shot.height(), 360);
    // The canvas drawing shows in the image: the red cross in its centre.
    QPoint centre = form->image->Widget()->mapTo(form->Widget(), QPoint(32, 32));
    QColor px = shot.pixelColor(centre);
    EXPECT_GT(px.red(), 200);
    EXPECT_LT(px.green(), 80);
    QDir().mkpath(QUORBEL_BUILD_DIR "/screenshots");
    const QString path =
        QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/platform_standard_controls.png");
    EXPECT_TRUE(shot.save(path));
    QImage back(path);
    EXPECT_EQ(back.size(), shot.size());

    // Enter in the edit clicks the default button, Escape the cancel button.
    form->nameEdit->SetFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(form->nameEdit->Widget(), &enter);
    EXPECT_EQ(form->ModalResult(), mrOk);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    QApplication::sendEvent(form->nameEdit->Widget(), &esc);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    // A memo keeps its Enter for a new line.
    form->SetModalResult(mrNone);
    form->memo->SetText(u"ab");
    form->memo->SetSelStart(2);
    QKeyEvent enterMemo(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(form->memo->Widget(), &enterMemo);
    EXPECT_EQ(form->ModalResult(), mrNone);
    EXPECT_EQ(form->memo->Text(), u"ab\r\n");
    form->Free();
}

} // namespace
