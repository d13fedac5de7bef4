// Shared set-up of the solid-feature tests: fresh host services with the temporary folder of
// the test's own, the meta classes registered, a session with a part, a PART node with its
// swPartC and the build's reader with every handler.
#pragma once

#include "libs/geomcore/buildsw3d/sw_creation.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

class solidsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The folder "$temp" resolves to during the test.
    const std::filesystem::path& tempFolder() const { return folder_; }
    // The texts of the messages shown so far.
    static std::vector<std::string> shownTexts();
    // The text a creation warning of `message` shows.
    static std::string warningText(const std::string& message);

private:
    std::filesystem::path folder_;
    std::string savedTmpdir_;
    bool hadTmpdir_ = false;
};

class partHandlersTest : public solidsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    testKitC& kit() { return session_->kit(); }
    IModelDoc2* doc() { return session_->doc(); }
    // Places the node of `text` at the end of the part's ITEMS and hands it to the reader.
    // Answers the handler's result; errorC and _com_error pass through.
    int run(const std::string& text);
    // Runs the node and answers the message of the errorC it throws; fails the test when it
    // throws nothing.
    std::string failureOf(const std::string& text);
    // Places the node without running it.
    metaTreePtrT place(const std::string& text);
    // A rectangle (or circle, radius > 0) sketch made directly in the session and recorded
    // under metaName, as the SKETCH handler would record it.
    void recordRectangle(const std::string& metaName, const std::string& plane, double x, double y,
                         double w, double h);
    void recordCircle(const std::string& metaName, const std::string& plane, double cx, double cy,
                      double radius);
    // Records every feature not yet recorded under metaName, as the part handler does with the
    // template's items ("swEnvItems").
    void recordNewFeatures(const std::string& metaName);
    // A block [0, w] x [0, h] x [0, d] made directly in the session, recorded as "Block".
    void block(double w, double h, double d);
    // The number of records the handlers made (not the template's items or the block).
    std::size_t recordCount() const;
    // The volume of the part's solid bodies.
    double volume();
    // The faces of the part's solid bodies by surface kind ("plane", "cylinder", "cone",
    // "other").
    std::map<std::string, int> faceCounts() const;
    // The feature record of a meta name; fails the test when there is none.
    IFeaturePtr recorded(const std::string& metaName);
    // The number of features of the document with the type name.
    int countFeatures(const std::string& typeName);

    std::unique_ptr<partFixtureC> session_;
    metaObjectC partNode_;
    std::unique_ptr<swPartC> part_;
    swCreation3dS creation_;
    std::unique_ptr<swMetaReaderC> reader_;

private:
    void recordSketch(const std::string& metaName, const std::string& swName);
};
