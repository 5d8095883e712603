#pragma once

#include <QStringList>

class QFont;
class QString;
class QWidget;

namespace tovrik {

// A balloon below a control, telling the user what went wrong. Unlike a tooltip it does not
// vanish when focus moves or the mouse leaves: it stays until the user types or clicks, the
// window moves, or a few seconds pass. One balloon at a time; a new one replaces it.
void showBalloon(QWidget *at, const QString &text);

// The balloon now showing, or nullptr.
QWidget *visibleBalloon();

// A tip's or a balloon's text in lines as every backend breaks tips, at their width in a font.
QStringList tipLines(const QString &text, const QFont &font);

} // namespace tovrik
