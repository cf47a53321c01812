// The table of the system's built procedures: name and maker. A procedure
// that is not listed answers with message 24 when it is started.
#include "app/Procedures.h"

#include "core/Procedures.h"

namespace ven {

void DefineProcedures()
{
    struct Entry {
        const char* name;
        ProcedureMaker make;
    };
    const Entry entries[] = {
        {"", nullptr},
    };
    for (const Entry& e : entries)
        if (e.make)
            defineProcedure(e.name, e.make);
}

} // namespace ven
