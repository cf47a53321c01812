// A temporary program folder with the dictionary initialised, for tests of
// the data files.
#pragma once

#include "data/Dictionary.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// A test over the data files of a new folder, opened in one context.
struct DataFilesTest : ::testing::Test {
    DataFolder folder;
    Context ctx;

    KeyedFile& open(const FileDef& def)
    {
        KeyedFile& f = ctx.file(def);
        Status st = f.open();
        EXPECT_TRUE(st.ok()) << st.text.toStdString();
        return f;
    }
};

} // namespace ven::test
