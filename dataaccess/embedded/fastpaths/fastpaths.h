#pragma once
// The engine's fast paths: statements of the program recognised by their shape and run
// their own faster way before the generic rewrite would run them. Each lives in a file
// of this folder:
//   fill.h        SELECT * INTO T FROM OPENROWSET(text driver): the text driver fills T itself
//   keyedjoin.h   JOIN M ON x COLLATE c = M.col without an index: a hash of M.col instead
//   checkedcopy.h INSERT .. SELECT of columns whose values already fit: no checks again
// The log says which paths the statements took, and switched off, every statement goes
// the generic way: the tests prove with both that a shape still takes its path and that
// the generic way gives the same rows.
#include <QString>
#include <QStringList>

namespace da::embedded {

class FastPaths {
public:
    static constexpr const char* kFill = "fill";
    static constexpr const char* kKeyedJoin = "keyed join";
    static constexpr const char* kCheckedCopy = "checked copy";

    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    void took(const char* path) { m_taken << QLatin1String(path); }
    // The paths taken since the last clear, in order.
    const QStringList& taken() const { return m_taken; }
    void clear() { m_taken.clear(); }

private:
    bool m_enabled = true;
    QStringList m_taken;
};

}  // namespace da::embedded
