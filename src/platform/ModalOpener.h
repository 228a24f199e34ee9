// The window that opened a modal box or dialog gets the input back when the box closes.
//
// When a box goes, the window system activates a window of its own choice: openbox, for
// one, passes over tool windows and activates the program's main window, so that the next
// Alt+F4 meant for the tool would close the main window instead. Every message box, form
// shown modally, and file, font, colour and folder dialog therefore keeps a TModalOpener
// while it is open: it remembers the active window and its focused control when the box
// opens and, when the box has closed, activates that window again and gives that control
// the focus.
//
// The window comes back only while it is still there, shown, not minimised and enabled:
// a window hidden or disabled meanwhile stays so, and without such a window nothing is
// activated. The box's own focus is not touched, so a window that chooses its first
// focus at every showing (the overwrite question on its cancel button) keeps doing so.
//
// A modeless window that the user closes when done with it keeps a TModalOpener from its
// showing until it is hidden, and forgets it when it was not the active window then.
#pragma once

#include <QPointer>
#include <QWidget>

class TModalOpener {
public:
    // Remembers the active window and its focused control; call before the box shows.
    TModalOpener();
    // Gives the input back; the box must be hidden by now.
    ~TModalOpener();
    TModalOpener(const TModalOpener&) = delete;
    TModalOpener& operator=(const TModalOpener&) = delete;

    // The window that will get the input back (nullptr: none).
    QWidget* Window() const { return FWindow.data(); }
    // Nothing is given back.
    void Forget() { FWindow = nullptr; }

private:
    QPointer<QWidget> FWindow, FFocus;
};

// A form reports here when it asks to be activated and when the window system activated
// it: the activation the program asked for counts from the moment it asked, as the
// window system acts on it a little later (a progress window shown just before a
// question is the window that the question returns to).
void NoteActivatedWindow(QWidget* Window);

// The window that stays on top of the others which this program activated last, or asked
// to, and which is still shown and not minimised; nullptr without one.
QWidget* LastActivatedOnTop();
