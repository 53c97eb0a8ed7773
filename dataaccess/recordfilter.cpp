#include "recordfilter.h"

#include "tsqllexer.h"
#include "sqlerror.h"

namespace da {

struct RecordFilter::Node {
    enum class Op {
        And,
        Or,
        Not,
        Compare,
        IsNull,
        IsNotNull
    } op = Op::Compare;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
    QString field;
    QString comparison;  // = <> < > <= >=
    QVariant literal;
};

namespace {

using Node = RecordFilter::Node;

class Parser {
public:
    explicit Parser(const QString& text) : m_t(tokenize(text)) {}

    std::unique_ptr<Node> parse() {
        auto n = orExpr();
        if (m_i != static_cast<int>(m_t.size())) fail();
        return n;
    }

private:
    [[noreturn]] void fail() const {
        const QString near = m_i < static_cast<int>(m_t.size()) ? m_t[static_cast<size_t>(m_i)].text : QString();
        throw SqlError(QStringLiteral("Filter expression incorrectly terminated or invalid near '%1'").arg(near));
    }
    const Token* peek() const { return m_i < static_cast<int>(m_t.size()) ? &m_t[static_cast<size_t>(m_i)] : nullptr; }
    bool word(const char* w) {
        if (peek() && peek()->isWord(w)) {
            ++m_i;
            return true;
        }
        return false;
    }
    bool symbol(const char* s) {
        if (peek() && peek()->isSymbol(s)) {
            ++m_i;
            return true;
        }
        return false;
    }

    std::unique_ptr<Node> orExpr() {
        auto left = andExpr();
        while (word("OR")) {
            auto n = std::make_unique<Node>();
            n->op = Node::Op::Or;
            n->left = std::move(left);
            n->right = andExpr();
            left = std::move(n);
        }
        return left;
    }
    std::unique_ptr<Node> andExpr() {
        auto left = unary();
        while (word("AND")) {
            auto n = std::make_unique<Node>();
            n->op = Node::Op::And;
            n->left = std::move(left);
            n->right = unary();
            left = std::move(n);
        }
        return left;
    }
    std::unique_ptr<Node> unary() {
        if (word("NOT")) {
            auto n = std::make_unique<Node>();
            n->op = Node::Op::Not;
            n->left = unary();
            return n;
        }
        if (symbol("(")) {
            auto n = orExpr();
            if (!symbol(")")) fail();
            return n;
        }
        return comparison();
    }
    std::unique_ptr<Node> comparison() {
        const Token* f = peek();
        if (!f || !f->isName()) fail();
        ++m_i;
        auto n = std::make_unique<Node>();
        n->field = f->value;
        if (word("IS")) {
            n->op = word("NOT") ? Node::Op::IsNotNull : Node::Op::IsNull;
            if (!word("NULL")) fail();
            return n;
        }
        const Token* op = peek();
        static const char* ops[] = {"=", "<>", "!=", "<", ">", "<=", ">="};
        bool known = false;
        for (const char* o : ops) known = known || (op && op->isSymbol(o));
        if (!known) fail();
        n->comparison = op->text == QLatin1String("!=") ? QStringLiteral("<>") : op->text;
        ++m_i;
        bool negative = symbol("-");
        const Token* lit = peek();
        if (!lit) fail();
        ++m_i;
        if (lit->kind == TokenKind::String && !negative) {
            n->literal = lit->value;
        } else if (lit->kind == TokenKind::Number) {
            const double d = lit->text.toDouble();
            n->literal = negative ? -d : d;
        } else if (lit->isWord("NULL")) {
            n->literal = QVariant();
        } else {
            fail();
        }
        return n;
    }

    Tokens m_t;
    int m_i = 0;
};

bool isNumeric(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool compare(const QVariant& value, const QString& op, const QVariant& literal) {
    if (value.isNull() || !value.isValid() || literal.isNull() || !literal.isValid()) return false;
    int c = 0;
    if (isNumeric(literal)) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (!ok) return false;
        const double l = literal.toDouble();
        c = v < l ? -1 : (v > l ? 1 : 0);
    } else {
        c = QString::compare(value.toString(), literal.toString(), Qt::CaseSensitive);
    }
    if (op == QLatin1String("=")) return c == 0;
    if (op == QLatin1String("<>")) return c != 0;
    if (op == QLatin1String("<")) return c < 0;
    if (op == QLatin1String(">")) return c > 0;
    if (op == QLatin1String("<=")) return c <= 0;
    return c >= 0;
}

bool evaluate(const Node& n, const std::function<const QVariant*(const QString&)>& value) {
    switch (n.op) {
    case Node::Op::And:
        return evaluate(*n.left, value) && evaluate(*n.right, value);
    case Node::Op::Or:
        return evaluate(*n.left, value) || evaluate(*n.right, value);
    case Node::Op::Not:
        return !evaluate(*n.left, value);
    default:
        break;
    }
    const QVariant* v = value(n.field);
    if (!v) throw SqlError(QStringLiteral("Field '%1' not found").arg(n.field));
    const bool null = v->isNull() || !v->isValid();
    if (n.op == Node::Op::IsNull) return null;
    if (n.op == Node::Op::IsNotNull) return !null;
    return compare(*v, n.comparison, n.literal);
}

}  // namespace

RecordFilter::RecordFilter(const QString& text) : m_root(Parser(text).parse()) {}
RecordFilter::~RecordFilter() = default;
RecordFilter::RecordFilter(RecordFilter&&) noexcept = default;
RecordFilter& RecordFilter::operator=(RecordFilter&&) noexcept = default;

bool RecordFilter::matches(const std::function<const QVariant*(const QString&)>& value) const {
    return evaluate(*m_root, value);
}

}  // namespace da
