// The shared table of backend calls against the headless backend; the Wine
// program kvconform.exe runs the same rows against Windows.
#include <gtest/gtest.h>

#include "../conformance/BackendTable.h"
#include "Headless.h"

namespace {

TEST(BackendConformance, AgreesWithWindows) {
    headless::Reset();
    const std::string root = "C:\\conform";
    ASSERT_TRUE(plat::ForceDirectories(root));
    ASSERT_TRUE(plat::SetCurrentDir(root));
    {
        conformance::Windows windows;
        for (const conformance::Row& row : conformance::Rows())
            EXPECT_EQ(conformance::Run(row, root, windows), row.want) << row.what;
    }
    headless::Reset();
}

}  // namespace
