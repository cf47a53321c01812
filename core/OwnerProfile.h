// The owner's personal information: one record, kept in "VenOwner.ini" in
// the program folder. Its absence marks the program's very first start.
#pragma once

#include <QString>

namespace ven {

struct OwnerProfile {
    QString FirstName, LastName, Telephone, Cellular, Fax, Street, ZipCode, City, Country, EMail, HomePage;

    // A mandatory field (first and last name, street, zip code, city,
    // country, e-mail) is blank.
    bool incomplete() const;
};

QString ownerProfileFile();
bool ownerProfileExists();
OwnerProfile readOwnerProfile();
// False when the file cannot be written.
bool writeOwnerProfile(const OwnerProfile& p);

} // namespace ven
