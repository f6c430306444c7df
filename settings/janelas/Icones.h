#pragma once
#include <QIcon>
#include <QStyle>

// The icon theme's picture of that name, or the style's own when the theme has
// none (no theme installed, or a platform without themes).
QIcon Icone(const QString& nomeTema, QStyle::StandardPixmap padrao);
