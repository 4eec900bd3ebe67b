#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The rules an edited value must pass before it reaches the model: clamps that keep things on
// the page, the grammar of a number control's value and the limits of texts. Plain functions, so
// the property panel and `tavo-cli set` judge every value alike.
namespace EditRules {

// Longest text the module takes, in bytes of its code page.
constexpr int TextByteLimit = 64;
// Decimals a number control's value is padded to, and the room kept for them.
constexpr int NumberDecimals = 4;

// A position along one side of the page for something `size` long: never negative, and the far
// edge not beyond pageSide where it fits.
int clampPosition(int v, int size, int pageSide);
// A size starting at pos: at least 1 and never beyond the page; v <= 0 takes `fallback`.
int clampSize(int v, int pos, int pageSide, int fallback);

// Pointer gauges: the centre keeps the square of side `side` on the page (its corner at 0 when
// the square is larger than the page).
int clampPointerCentre(int v, int side, int pageSide);
int clampPointerWidth(int v, int w, int h);
int clampPointerLength(int v, int centreX, int centreY, int pageW, int pageH);

// Circles: a centre coordinate; a move towards the inside is taken even while the circle still
// crosses the far edge, but the near edge is never crossed.
int clampCircleCentre(int v, int current, int r, int pageSide);
int clampCircleRadius(int v, int x1, int y1, int pageW, int pageH);
// A point or line end: 0..pageSide-1.
int clampPoint(int v, int pageSide);

// The value of a number control. ok false: message says why (translated) and nothing is stored.
// ok true: value is what to store (padded to NumberDecimals decimals; "0" for an empty text).
struct NumberCheck {
    bool ok = false;
    QString value;
    QString message;
};
NumberCheck checkNumberText(const QString &s);

// A text or button text: empty when acceptable at the font size, else the message.
QString checkControlText(const QString &s, int fontSize);
// Texts at font size 72 or 96 are limited to printable ASCII (no space, quotes, braces or bar).
bool isLargeFontText(const QString &s);
bool isLargeFontSize(int size);
QString largeFontMessage();

// Font sizes offered for a resolution: a prefix of fontSizeList().
QList<int> fontSizesFor(const QString &resolutionText);
// QR code sizes offered on a page: multiples of 53 below its smaller side.
QList<int> qrCodeSizes(int pageW, int pageH);
// The entry of ResolutionList that matches a resolution text up to its "(", -1 when none.
int resolutionIndex(const QString &resolutionText);

}  // namespace EditRules
