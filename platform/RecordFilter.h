// A list's or report's filter written as text, e.g.
// "(Mon:Number < 99 and Mon:Date <= 80000 and (Mon:Type = 'E' or Mon:Type = 'I'))",
// read by a small grammar and checked against records. It is never run as
// code: only these forms are understood, anything else is refused.
//
//   expr       := term { "or" term }
//   term       := factor { "and" factor }
//   factor     := "not" factor | "(" expr ")" | operand op operand
//   operand    := number | 'text' | "text" | name
//   op         := "=" | "<>" | "~=" | "<" | "<=" | "=<" | ">" | ">=" | "=>"
//
// A name is a field of the file ("Mon:Date", any case) or one of the names
// bound for the filter ("G:AccType", "BDate"), whose value is taken when the
// text is read. Texts compare without letter case and trailing blanks, as
// the keys do; numbers as numbers. Pure; any thread.
#pragma once

#include "platform/KeyedFile.h"

#include <map>
#include <memory>
#include <optional>

namespace ven {

class RecordFilter {
public:
    // Bound names, by their name in any case.
    using Names = std::map<QString, Value>;

    // Reads `text`; nullopt (and `error` says where) when it is not a filter
    // of the grammar or names what is neither a field nor bound. Blank text
    // is the filter that takes every record.
    static std::optional<RecordFilter> parse(const FileDef& def, QStringView text, const Names& names = {},
                                             QString* error = nullptr);

    bool matches(const Record& r) const;
    // The bounds the filter's outermost "and" terms put on a number field
    // (field <= n, field => n, field = n): records outside them never match.
    struct Bounds {
        std::optional<int64_t> low, high;
    };
    Bounds bounds(uint16_t field) const;

    struct Node;

private:
    std::shared_ptr<const Node> root_;
};

} // namespace ven
