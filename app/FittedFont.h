#pragma once

#include <QFont>

class QLabel;
class QLineEdit;
class QString;
class QWidget;

// Key codes must be read whole: where their place is narrow (the simple panel
// on a small screen) they get a smaller font instead of losing their ends.
namespace FittedFont {

constexpr qreal kSmallestPoints = 7;

// base at the largest point size from largest down to smallest, in steps of
// one point, at which text is at most room pixels wide; smallest when no
// size is small enough.
QFont fit(QFont base, const QString &text, int room, qreal largest, qreal smallest = kSmallestPoints);

// Pixels one line of text needs in font, rounded up with one to spare; a
// text longer than a screen can show is measured as ShownText shows it.
int widthOf(const QFont &font, const QString &text);

// Pixels a label or line edit has for one line of text.
int textRoom(const QLabel *label);
int textRoom(const QLineEdit *edit);

// Keeps the widget's text whole from now on: the font it has now is the
// largest; a line edit refits on every change of its text, a label when
// refit() is called after its text was set; both refit on every resize.
// A text that does not fit even at the smallest size gets the whole text as
// the widget's tooltip (past what a screen can show, its start and "…"), and
// a read-only line edit then shows its start; a label shows its start and an
// ellipsis ("…"), its text still the whole one.
// A label takes the width its layout gives it, whatever its text's length.
void keepWhole(QLabel *label);
void keepWhole(QLineEdit *edit);
void refit(QWidget *widget);

// Sets label's text. QLabel measures all of its text at every change, so a
// text longer than a screen can show is set as its start and "…", and the
// whole one is kept with the label for text().
void setText(QLabel *label, const QString &text);
// The whole text label shows: what setText() was given, or the label's own
// text when it was set otherwise since.
QString text(const QLabel *label);
// The same for a line edit, which keeps at most 32,767 characters of its
// text (and lays out all it holds): a longer text is searched for whole
// while the field still shows its start; once edited, the field's own text.
void setText(QLineEdit *edit, const QString &text);
QString text(const QLineEdit *edit);

// Keeps room in label's layout for sample at the smallest size: a constant
// width, so that codes as long as sample are read whole however long the
// code shown now is.
void keepRoomFor(QLabel *label, const QString &sample);

} // namespace FittedFont
