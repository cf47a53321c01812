// The owner profile in its own settings file.
#include "core/OwnerProfile.h"

#include "core/DateHelpers.h"
#include "platform/Ini.h"
#include "platform/Procedure.h"

#include <QDir>
#include <QFileInfo>

namespace ven {
namespace {

struct Field {
    const char* key;
    QString OwnerProfile::*member;
    int size;  // characters kept
    bool mandatory;
};

const Field kFields[] = {
    {"FirstName", &OwnerProfile::FirstName, 20, true},  {"LastName", &OwnerProfile::LastName, 20, true},
    {"Telephone", &OwnerProfile::Telephone, 25, false}, {"Cellular", &OwnerProfile::Cellular, 25, false},
    {"Fax", &OwnerProfile::Fax, 25, false},             {"Street", &OwnerProfile::Street, 40, true},
    {"ZipCode", &OwnerProfile::ZipCode, 10, true},      {"City", &OwnerProfile::City, 20, true},
    {"Country", &OwnerProfile::Country, 20, true},      {"EMail", &OwnerProfile::EMail, 80, true},
    {"HomePage", &OwnerProfile::HomePage, 80, false},
};

} // namespace

bool OwnerProfile::incomplete() const
{
    for (const Field& f : kFields)
        if (f.mandatory && (this->*f.member).trimmed().isEmpty())
            return true;
    return false;
}

QString ownerProfileFile()
{
    return joinPath(Program_Path.isEmpty() ? QDir::currentPath() : Program_Path, "VenOwner.ini");
}

bool ownerProfileExists()
{
    return QFileInfo::exists(ownerProfileFile());
}

OwnerProfile readOwnerProfile()
{
    OwnerProfile p;
    for (const Field& f : kFields)
        p.*f.member = readIni(ownerProfileFile(), "Owner", f.key, {});
    return p;
}

bool writeOwnerProfile(const OwnerProfile& p)
{
    bool ok = true;
    for (const Field& f : kFields)
        ok = writeIni(ownerProfileFile(), "Owner", f.key, (p.*f.member).left(f.size)) && ok;
    return ok;
}

} // namespace ven
