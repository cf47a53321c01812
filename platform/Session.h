// Restarting and shutting down the computer through the system's session
// manager, with a replaceable handler so that tests never do either.
#pragma once

#include <QString>

#include <functional>

namespace ven {

enum class SessionAction { Restart, ShutDown };

// Asks the session manager to restart / power off the computer. False when
// it refused or could not be asked; `error` (may be null) then gets why.
bool restartComputer(QString* error);
bool shutDownComputer(QString* error);

// Where the two calls go instead (tests record them); an empty function
// restores the session manager.
using SessionHandler = std::function<bool(SessionAction, QString* error)>;
void setSessionHandler(SessionHandler handler);

} // namespace ven
