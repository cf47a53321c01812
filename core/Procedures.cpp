// The table of defined procedures and the two ways of starting them.
#include "core/Procedures.h"

#include "platform/ErrorReporter.h"
#include "platform/Procedure.h"

#include <map>

namespace ven {
namespace {

std::map<QString, ProcedureMaker>& table()
{
    static std::map<QString, ProcedureMaker> t;
    return t;
}

const ProcedureMaker* find(const QString& name)
{
    auto it = table().find(name);
    if (it != table().end())
        return &it->second;
    MessageArgs a;
    a.message = name;
    errors().show(24, a);
    return nullptr;
}

} // namespace

void defineProcedure(const QString& name, ProcedureMaker make)
{
    table()[name] = std::move(make);
}

bool procedureDefined(const QString& name)
{
    return table().count(name) > 0;
}

void clearProcedures()
{
    table().clear();
}

int startProcedure(const QString& name, const QString& parameter, uint8_t request)
{
    const ProcedureMaker* make = find(name);
    if (!make)
        return 0;
    ProcedureMaker m = *make;
    return start([m, parameter, request] {
        if (request)
            CallRequest = request;
        return m(parameter);
    });
}

void callProcedure(const QString& name, uint8_t request, Done done, const QString& parameter)
{
    const ProcedureMaker* make = find(name);
    if (!make) {
        CallResponse = RequestCancelled;
        if (done)
            done(RequestCancelled);
        return;
    }
    call((*make)(parameter), request, std::move(done));
}

} // namespace ven
