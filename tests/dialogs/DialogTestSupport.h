// Helpers of the dialog tests: clicks and keys through the widgets' own events, the
// window system's close request, the language switch and screenshots under the build
// folder.
#pragma once

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "dialogs/LanguageCode.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/StdCtrls.h"
#include "support/WidgetInput.h"

// A left click near the left end of the control, vertically centred: on the box of a
// check box or radio button, inside a button.
inline void ClickControl(TControl* C) {
    QWidget* w = C->Widget();
    QPoint centre(std::min(8, w->width() / 2), w->height() / 2);
    MouseAt(w, QEvent::MouseButtonPress, centre);
    MouseAt(w, QEvent::MouseButtonRelease, centre);
}

// The text a modal request shows: the message of a message dialog, else the request's text
// (message boxes of the application).
inline WideString ShownText(const TModalRequest& Request) {
    if (Request.Form)
        if (auto* message = dynamic_cast<TLabel*>(Request.Form->FindComponent(u"Message")))
            return message->Caption();
    return Request.Text;
}

// What the window system sends when the user closes a window (title bar, Alt+F4).
inline void RequestClose(TForm* Form) {
    QCloseEvent e;
    QApplication::sendEvent(Form->Widget(), &e);
}

// Sets the language code for the lifetime of the object.
class ScopedLanguage {
public:
    explicit ScopedLanguage(WideStringView Code) : FSaved(LanguageCode) {
        LanguageCode = WideString(Code);
    }
    ~ScopedLanguage() { LanguageCode = FSaved; }

private:
    WideString FSaved;
};

// Captions of check boxes, radio buttons, buttons and single-line labels fit their controls.
inline void ExpectCaptionsFit(TForm* form, const std::string& what) {
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

// Shows the window and saves it as <build>/screenshots/dialogs/<Name>-de.png and
// -en.png, after Sprache has set the texts of each language; returns the pictures.
inline std::pair<QImage, QImage> SaveScreenshots(TForm* Form, const char* Name,
                                                 const std::function<void()>& Sprache) {
    QDir().mkpath(QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/dialogs"));
    bool shown = Form->Visible();
    if (!shown) Form->Show();
    QImage shots[2];
    const char16_t* codes[] = {u"de", u"en"};
    for (int i = 0; i < 2; ++i) {
        ScopedLanguage lang(codes[i]);
        Sprache();
        QApplication::processEvents();
        shots[i] = Form->Widget()->grab().toImage();
        QString path = QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/dialogs/%1-%2.png")
                           .arg(QString::fromLatin1(Name), QString::fromStdU16String(codes[i]));
        EXPECT_TRUE(shots[i].save(path)) << path.toStdString();
    }
    Sprache();
    if (!shown) Form->Hide();
    return {shots[0], shots[1]};
}
