// Readable GoogleTest output for Qt values (found by argument-dependent lookup).
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUrl>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QUrl& u, std::ostream* os) { *os << u.toString().toStdString(); }
inline void PrintTo(const QPoint& p, std::ostream* os) {
    *os << '(' << p.x() << ", " << p.y() << ')';
}
inline void PrintTo(const QSize& s, std::ostream* os) { *os << s.width() << 'x' << s.height(); }
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.width() << 'x' << r.height() << '+' << r.x() << '+' << r.y();
}
