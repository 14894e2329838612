// SPDX-License-Identifier: MIT
#pragma once
#include <QColor>
#include <QtGlobal>

namespace compat {

// Colours are kept as Windows colour values: red in the low byte, then green,
// then blue. Only those 24 bits carry a colour.
inline QColor fromWinColor(qint32 value)
{
    const quint32 v = quint32(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

inline qint32 toWinColor(const QColor &c)
{
    return qint32(quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16));
}

} // namespace compat
