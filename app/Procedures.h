// Defines every procedure that is built, by the name the system gives it.
#pragma once

namespace ven {

void DefineProcedures();

} // namespace ven
