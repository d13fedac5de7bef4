// Small parts shared by the model's tests.
#pragma once

#include "platform/sldworks/model/file_io.h"
#include "platform/sldworks/model/part_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace swsim::test {

// A test with a folder of its own for the files it writes, removed afterwards.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("swsim_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

// A closed rectangle from (x0, y0) to (x1, y1) in sketch coordinates.
inline void addRectangle(Sketch& sketch, double x0, double y0, double x1, double y1) {
    ASSERT_TRUE(sketch.addLine({x0, y0, 0}, {x1, y0, 0}));
    ASSERT_TRUE(sketch.addLine({x1, y0, 0}, {x1, y1, 0}));
    ASSERT_TRUE(sketch.addLine({x1, y1, 0}, {x0, y1, 0}));
    ASSERT_TRUE(sketch.addLine({x0, y1, 0}, {x0, y0, 0}));
}

// A 10 x 20 rectangle from the origin on the Front Plane, extruded 5 along +Z.
inline SolidFeaturePtr makeBlock(PartDocument& doc) {
    auto sketch = doc.openSketch(doc.frontPlane());
    EXPECT_TRUE(sketch);
    if (!sketch)
        return nullptr;
    addRectangle(*sketch, 0, 0, 10, 20);
    doc.closeSketch();
    ExtrudeSpec request;
    request.depth1 = 5;
    return doc.addExtrusion(sketch, request);
}

// A file's text edited by a test with its header checksum made right again, so that the
// reader gets to the edited part.
inline std::string resealed(const std::string& text) {
    const size_t space = text.find(' ', text.find(' ') + 1);
    const size_t body = text.find('\n') + 1;
    return detail::sealedFile(text.substr(0, space), text.substr(body));
}

inline double volume(const PartDocument& doc) {
    return doc.massProperties().volume;
}

} // namespace swsim::test
