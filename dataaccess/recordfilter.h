#pragma once
// A table's client-side filter: a condition over the held rows such as
// "Sec='Herd'" or "Seq >= 2 AND NOT (Titr = 'x')". Comparisons are exact (letter case
// significant); NULL equals nothing but IS NULL.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace da {

class RecordFilter {
public:
    // Parses the text; throws SqlError for a condition it cannot read.
    explicit RecordFilter(const QString& text);
    ~RecordFilter();
    RecordFilter(RecordFilter&&) noexcept;
    RecordFilter& operator=(RecordFilter&&) noexcept;

    // value(name) gives the field's value in the row, or nullptr for an unknown field
    // (which raises SqlError).
    bool matches(const std::function<const QVariant*(const QString&)>& value) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

}  // namespace da
