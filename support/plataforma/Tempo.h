#pragma once
#include <QString>

// Duration text: "01:02H" with hours, else "02:05M" with minutes, else "07S".
// A negative count shows as "-" followed by the text of its absolute value.
QString FormataTempo(int segundos);

// Brings a number text to exactly `largura` characters: zeros in front when it is
// shorter (a negative number keeps its sign in the first place: -5, 3 -> "-05"),
// cut to its first characters when it is longer. A text that is not a number
// counts as 0 and is otherwise left as it is.
QString Zeros(const QString& texto, int largura);
