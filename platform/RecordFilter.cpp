#include "platform/RecordFilter.h"

#include <cmath>

namespace ven {

struct RecordFilter::Node {
    enum Kind { All, And, Or, Not, Compare } kind = All;
    std::shared_ptr<const Node> a, b;
    // Compare: each side a field (>= 0) or a constant.
    enum Op { Eq, Ne, Lt, Le, Gt, Ge } op = Eq;
    int fieldA = -1, fieldB = -1;
    Value constA, constB;
};

namespace {

using Node = RecordFilter::Node;
using NodeP = std::shared_ptr<const Node>;

struct Token {
    enum Kind { End, Number, Text, Name, Op, Open, Close } kind = End;
    QString text;
    Value number;
    int at = 0;
};

class Parser {
public:
    Parser(const FileDef& def, QStringView text, const RecordFilter::Names& names)
        : def_(def), text_(text)
    {
        for (const auto& [k, v] : names)
            names_[k.toLower()] = v;
    }

    NodeP parse(QString* error)
    {
        if (!next())
            return fail(error);
        if (tok_.kind == Token::End)
            return std::make_shared<Node>();
        NodeP n = expr();
        if (n && tok_.kind != Token::End)
            error_ = QStringLiteral("unexpected \"%1\" at %2").arg(tok_.text).arg(tok_.at + 1), n = nullptr;
        return n ? n : fail(error);
    }

private:
    NodeP fail(QString* error)
    {
        if (error)
            *error = error_.isEmpty() ? QStringLiteral("malformed filter") : error_;
        return nullptr;
    }

    bool keyword(const char* word) const
    {
        return tok_.kind == Token::Name && tok_.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    NodeP binary(Node::Kind kind, NodeP a, NodeP b)
    {
        auto n = std::make_shared<Node>();
        n->kind = kind;
        n->a = std::move(a);
        n->b = std::move(b);
        return n;
    }

    NodeP expr()
    {
        NodeP n = term();
        while (n && keyword("or")) {
            if (!next())
                return nullptr;
            NodeP r = term();
            if (!r)
                return nullptr;
            n = binary(Node::Or, n, r);
        }
        return n;
    }

    NodeP term()
    {
        NodeP n = factor();
        while (n && keyword("and")) {
            if (!next())
                return nullptr;
            NodeP r = factor();
            if (!r)
                return nullptr;
            n = binary(Node::And, n, r);
        }
        return n;
    }

    NodeP factor()
    {
        if (++depth_ > 64)
            return error("nested too deeply"), nullptr;
        struct Leave {
            int& d;
            ~Leave() { --d; }
        } leave{depth_};
        if (keyword("not")) {
            if (!next())
                return nullptr;
            NodeP a = factor();
            return a ? binary(Node::Not, a, nullptr) : nullptr;
        }
        if (tok_.kind == Token::Open) {
            if (!next())
                return nullptr;
            NodeP n = expr();
            if (!n)
                return nullptr;
            if (tok_.kind != Token::Close)
                return error("\")\" expected"), nullptr;
            if (!next())
                return nullptr;
            return n;
        }
        return comparison();
    }

    // One side of a comparison: a field's number, or a constant.
    bool operand(int& field, Value& constant)
    {
        field = -1;
        switch (tok_.kind) {
        case Token::Number:
            constant = tok_.number;
            break;
        case Token::Text:
            constant = tok_.text;
            break;
        case Token::Name: {
            const int f = tok_.text.contains(u':') ? def_.findField(tok_.text) : -1;
            const bool ownPrefix = tok_.text.section(u':', 0, 0).compare(QLatin1String(def_.prefix), Qt::CaseInsensitive) == 0;
            if (f >= 0 && ownPrefix && def_.fields[f].type != FieldType::Memo) {
                field = f;
                break;
            }
            auto it = names_.find(tok_.text.toLower());
            if (it == names_.end())
                return error(QStringLiteral("unknown name \"%1\"").arg(tok_.text)), false;
            constant = it->second;
            break;
        }
        default:
            return error(QStringLiteral("a value expected at %1").arg(tok_.at + 1)), false;
        }
        return next();
    }

    NodeP comparison()
    {
        auto n = std::make_shared<Node>();
        n->kind = Node::Compare;
        if (!operand(n->fieldA, n->constA))
            return nullptr;
        if (tok_.kind != Token::Op)
            return error(QStringLiteral("a comparison expected at %1").arg(tok_.at + 1)), nullptr;
        const QString op = tok_.text;
        if (op == u"=")
            n->op = Node::Eq;
        else if (op == u"<>" || op == u"~=")
            n->op = Node::Ne;
        else if (op == u"<")
            n->op = Node::Lt;
        else if (op == u"<=" || op == u"=<")
            n->op = Node::Le;
        else if (op == u">")
            n->op = Node::Gt;
        else
            n->op = Node::Ge;
        if (!next())
            return nullptr;
        if (!operand(n->fieldB, n->constB))
            return nullptr;
        return n;
    }

    void error(const QString& e)
    {
        if (error_.isEmpty())
            error_ = e;
    }

    // Reads the next token; false on a character the grammar lacks.
    bool next()
    {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
        tok_ = Token{};
        tok_.at = int(pos_);
        if (pos_ >= text_.size())
            return true;
        const QChar c = text_[pos_];
        if (c == u'(' || c == u')') {
            tok_.kind = c == u'(' ? Token::Open : Token::Close;
            tok_.text = c;
            ++pos_;
            return true;
        }
        if (c == u'<' || c == u'>' || c == u'=' || c == u'~') {
            QString op(c);
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == u'=' || text_[pos_] == u'>' || text_[pos_] == u'<'))
                op += text_[pos_++];
            static const QStringList ops = {"=", "<>", "~=", "<", "<=", "=<", ">", ">=", "=>"};
            if (!ops.contains(op))
                return error(QStringLiteral("unknown operator \"%1\"").arg(op)), false;
            tok_.kind = Token::Op;
            tok_.text = op;
            return true;
        }
        if (c == u'\'' || c == u'"') {
            const QChar quote = c;
            QString s;
            ++pos_;
            for (;;) {
                if (pos_ >= text_.size())
                    return error(QStringLiteral("unclosed text")), false;
                if (text_[pos_] == quote) {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == quote) {  // a doubled quote
                        s += quote;
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                s += text_[pos_++];
            }
            tok_.kind = Token::Text;
            tok_.text = s;
            return true;
        }
        if (c.isDigit() || ((c == u'-' || c == u'.') && pos_ + 1 < text_.size() && (text_[pos_ + 1].isDigit() || text_[pos_ + 1] == u'.'))) {
            qsizetype end = pos_ + 1;
            while (end < text_.size() && (text_[end].isDigit() || text_[end] == u'.'))
                ++end;
            const QString s = text_.mid(pos_, end - pos_).toString();
            bool ok = false;
            const qlonglong i = s.toLongLong(&ok);
            if (ok) {
                tok_.number = int64_t(i);
            } else {
                const double d = s.toDouble(&ok);
                if (!ok)
                    return error(QStringLiteral("bad number \"%1\"").arg(s)), false;
                tok_.number = d;
            }
            tok_.kind = Token::Number;
            tok_.text = s;
            pos_ = end;
            return true;
        }
        if (c.isLetter() || c == u'_') {
            qsizetype end = pos_ + 1;
            while (end < text_.size() && (text_[end].isLetterOrNumber() || text_[end] == u'_' || text_[end] == u':'))
                ++end;
            tok_.kind = Token::Name;
            tok_.text = text_.mid(pos_, end - pos_).toString();
            pos_ = end;
            return true;
        }
        return error(QStringLiteral("unexpected \"%1\" at %2").arg(c).arg(pos_ + 1)), false;
    }

    const FileDef& def_;
    QStringView text_;
    std::map<QString, Value> names_;
    qsizetype pos_ = 0;
    int depth_ = 0;
    Token tok_;
    QString error_;
};

bool isText(const Value& v) { return std::holds_alternative<QString>(v); }

QString textOf(const Value& v)
{
    if (auto s = std::get_if<QString>(&v)) {
        QString t = *s;
        while (!t.isEmpty() && t.back() == u' ')
            t.chop(1);
        return t;
    }
    if (auto i = std::get_if<int64_t>(&v))
        return QString::number(*i);
    return QString::number(std::get<double>(v), 'g', 17);
}

// -1, 0, 1; a text against a number compares the number's digits as text.
int compare(const Value& a, const Value& b)
{
    if (isText(a) || isText(b))
        return textOf(a).compare(textOf(b), Qt::CaseInsensitive) < 0 ? -1 : (textOf(a).compare(textOf(b), Qt::CaseInsensitive) > 0 ? 1 : 0);
    auto ia = std::get_if<int64_t>(&a), ib = std::get_if<int64_t>(&b);
    if (ia && ib)
        return *ia < *ib ? -1 : (*ia > *ib ? 1 : 0);
    const double da = ia ? double(*ia) : std::get<double>(a);
    const double db = ib ? double(*ib) : std::get<double>(b);
    return da < db ? -1 : (da > db ? 1 : 0);
}

bool evaluate(const Node& n, const Record& r)
{
    switch (n.kind) {
    case Node::All: return true;
    case Node::And: return evaluate(*n.a, r) && evaluate(*n.b, r);
    case Node::Or: return evaluate(*n.a, r) || evaluate(*n.b, r);
    case Node::Not: return !evaluate(*n.a, r);
    case Node::Compare: {
        const Value& a = n.fieldA >= 0 ? r.value(uint16_t(n.fieldA)) : n.constA;
        const Value& b = n.fieldB >= 0 ? r.value(uint16_t(n.fieldB)) : n.constB;
        const int c = compare(a, b);
        switch (n.op) {
        case Node::Eq: return c == 0;
        case Node::Ne: return c != 0;
        case Node::Lt: return c < 0;
        case Node::Le: return c <= 0;
        case Node::Gt: return c > 0;
        case Node::Ge: return c >= 0;
        }
    }
    }
    return false;
}

void collect(const Node& n, uint16_t field, RecordFilter::Bounds& b)
{
    if (n.kind == Node::And) {
        collect(*n.a, field, b);
        collect(*n.b, field, b);
        return;
    }
    if (n.kind != Node::Compare)
        return;
    // field op constant, or constant op field (the operator turned round).
    Node::Op op = n.op;
    const Value* v = nullptr;
    if (n.fieldA == field && n.fieldB < 0) {
        v = &n.constB;
    } else if (n.fieldB == field && n.fieldA < 0) {
        v = &n.constA;
        static const Node::Op turned[] = {Node::Eq, Node::Ne, Node::Gt, Node::Ge, Node::Lt, Node::Le};
        op = turned[op];
    }
    auto i = v ? std::get_if<int64_t>(v) : nullptr;
    if (!i)
        return;
    auto low = [&](int64_t x) { b.low = b.low ? std::max(*b.low, x) : x; };
    auto high = [&](int64_t x) { b.high = b.high ? std::min(*b.high, x) : x; };
    switch (op) {
    case Node::Eq: low(*i), high(*i); break;
    case Node::Lt: high(*i - 1); break;
    case Node::Le: high(*i); break;
    case Node::Gt: low(*i + 1); break;
    case Node::Ge: low(*i); break;
    case Node::Ne: break;
    }
}

} // namespace

std::optional<RecordFilter> RecordFilter::parse(const FileDef& def, QStringView text, const Names& names, QString* error)
{
    Parser p(def, text, names);
    NodeP root = p.parse(error);
    if (!root)
        return std::nullopt;
    RecordFilter f;
    f.root_ = std::move(root);
    return f;
}

bool RecordFilter::matches(const Record& r) const { return !root_ || evaluate(*root_, r); }

RecordFilter::Bounds RecordFilter::bounds(uint16_t field) const
{
    Bounds b;
    if (root_)
        collect(*root_, field, b);
    return b;
}

} // namespace ven
