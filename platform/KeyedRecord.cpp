// The record buffer: one value per field, normalised to the field's type on
// every store, and the status an engine call returns.
#include "platform/KeyedEngine.h"

#include "platform/DateTime.h"

#include <cmath>

namespace ven {

using kf::isText;

Status Status::fail(Err code, QString errorText)
{
    Status s;
    s.code = code;
    s.errorText = std::move(errorText);
    return s;
}

// ============================================================== record ====

Record::Record(const FileDef* def)
    : def_(def)
{
    if (def_)
        clear();
}

void Record::clear()
{
    values_.clear();
    if (!def_)
        return;
    values_.reserve(def_->fields.size());
    for (const FieldDef& f : def_->fields) {
        if (f.type == FieldType::String)
            values_.emplace_back(QString(f.size, ' '));
        else if (isText(f.type))
            values_.emplace_back(QString());
        else if (f.type == FieldType::Real)
            values_.emplace_back(0.0);
        else
            values_.emplace_back(int64_t(0));
    }
}

int64_t Record::num(uint16_t f) const
{
    const Value& v = values_[f];
    if (auto p = std::get_if<int64_t>(&v))
        return *p;
    if (auto d = std::get_if<double>(&v))
        return int64_t(std::llround(*d));
    return std::get<QString>(v).trimmed().toLongLong();
}

double Record::real(uint16_t f) const
{
    const Value& v = values_[f];
    if (auto d = std::get_if<double>(&v))
        return *d;
    if (auto p = std::get_if<int64_t>(&v))
        return double(*p);
    return std::get<QString>(v).trimmed().toDouble();
}

QString Record::str(uint16_t f) const
{
    const Value& v = values_[f];
    if (auto s = std::get_if<QString>(&v))
        return *s;
    if (auto p = std::get_if<int64_t>(&v))
        return QString::number(*p);
    return QString::number(std::get<double>(v));
}

QVariant Record::get(uint16_t f) const
{
    const Value& v = values_[f];
    if (auto s = std::get_if<QString>(&v))
        return *s;
    if (auto p = std::get_if<int64_t>(&v))
        return QVariant::fromValue<qlonglong>(*p);
    return std::get<double>(v);
}

void Record::set(uint16_t f, int64_t v)
{
    const FieldDef& fd = def_->fields[f];
    switch (fd.type) {
    case FieldType::Byte: v = uint8_t(v); break;
    case FieldType::Short: v = int16_t(v); break;
    case FieldType::UShort: v = uint16_t(v); break;
    case FieldType::Long: v = int32_t(v); break;
    case FieldType::ULong: v = uint32_t(v); break;
    case FieldType::Time: v = unpackTime(packTime(int32_t(v))); break;
    case FieldType::Real: values_[f] = double(v); return;
    default: set(f, QString::number(v)); return;
    }
    values_[f] = v;
}

void Record::set(uint16_t f, double v)
{
    const FieldDef& fd = def_->fields[f];
    if (fd.type == FieldType::Real)
        values_[f] = v;
    else if (isText(fd.type))
        set(f, QString::number(v));
    else
        set(f, int64_t(std::llround(v)));
}

void Record::set(uint16_t f, const QString& v)
{
    const FieldDef& fd = def_->fields[f];
    switch (fd.type) {
    case FieldType::String: {
        if (v.size() == fd.size) {  // as read back from the file: nothing to pad or cut
            values_[f] = v;
            return;
        }
        QString s = v.left(fd.size);
        values_[f] = s + QString(fd.size - s.size(), ' ');
        return;
    }
    case FieldType::CString: values_[f] = v.left(fd.size > 0 ? fd.size - 1 : 0); return;
    case FieldType::Memo: values_[f] = v.left(fd.size); return;
    case FieldType::Real: values_[f] = v.trimmed().toDouble(); return;
    default: set(f, int64_t(v.trimmed().toLongLong())); return;
    }
}

void Record::setVariant(uint16_t f, const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: set(f, v.toDouble()); break;
    case QMetaType::QString: set(f, v.toString()); break;
    case QMetaType::Bool: set(f, int64_t(v.toBool())); break;
    default:
        if (v.canConvert<qlonglong>() && v.typeId() != QMetaType::QByteArray)
            set(f, int64_t(v.toLongLong()));
        else
            set(f, v.toString());
    }
}

void Record::setValue(uint16_t f, const Value& v)
{
    std::visit([&](const auto& x) { set(f, x); }, v);
}
}  // namespace ven
