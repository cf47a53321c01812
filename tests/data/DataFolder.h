// A temporary program folder with the dictionary initialised, for tests of
// the data files.
#pragma once

#include "data/Dictionary.h"

#include <QTemporaryDir>

namespace ven::test {

class DataFolder {
public:
    DataFolder()
    {
        Store::instance().closeIdle();
        Store::instance().setFolder(dir.path());
        Store::instance().setFixedFolder(dir.path() + "/machine");
        InitDataFiles();
    }
    ~DataFolder()
    {
        KillDataFiles();
        Store::instance().setFolder({});
        Store::instance().setFixedFolder({});
    }
    QString path(const QString& name = {}) const { return name.isEmpty() ? dir.path() : dir.filePath(name); }

    QTemporaryDir dir;
};

} // namespace ven::test
