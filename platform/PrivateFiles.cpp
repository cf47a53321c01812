// The file-creation mask of the program.
#include "platform/PrivateFiles.h"

#include <sys/stat.h>

namespace ven {

void keepNewFilesPrivate()
{
    ::umask(S_IRWXG | S_IRWXO);
}

} // namespace ven
