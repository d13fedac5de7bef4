#include "tests/solids/solids_fixture.h"

#include "libs/geomcore/sw3ddoc/new_features.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/core/registry.h"
#include "metamodel/m3d/register.h"
#include "natlinksolidworks/create_document.h"
#include "platform/host/services/host_services.h"
#include "platform/host/services/messages.h"
#include "platform/sldworks/model/part_document.h"

#include <cstdlib>

#include <unistd.h>

void solidsTest::SetUp() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("solids_") + info->test_suite_name() + "_" + info->name() + "_" +
               std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    if (const char* tmp = std::getenv("TMPDIR")) {
        hadTmpdir_ = true;
        savedTmpdir_ = tmp;
    }
    ::setenv("TMPDIR", folder_.c_str(), 1);
    hostsvc::resetHostServices();
    hostsvc::setUserFolderOverride(folder_);
    registerMetaCoreClasses();
    registerM3dClasses();
}

void solidsTest::TearDown() {
    hostsvc::resetHostServices();
    if (hadTmpdir_)
        ::setenv("TMPDIR", savedTmpdir_.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

std::vector<std::string> solidsTest::shownTexts() {
    std::vector<std::string> texts;
    for (const hostsvc::ShownMessage& message : hostsvc::shownMessages())
        texts.push_back(message.text);
    return texts;
}

std::string solidsTest::warningText(const std::string& message) {
    return "Creation warning in module 'natlinkon' -> ERROR: " + message;
}

void partHandlersTest::SetUp() {
    solidsTest::SetUp();
    session_ = std::make_unique<partFixtureC>();
    EXPECT_TRUE(partNode_.ctorFromText("(PART (NAME \"P\") (ITEMS))"));
    part_ = std::make_unique<swPartC>(partNode_.getTreePtr());
    part_->modelDoc = session_->docPtr();
    creation_.app = session_->appPtr();
    creation_.outputLocation = tempFolder().string();
    reader_ = createDocumentReader(creation_);
    recordNewFeatures("swEnvItems");
}

void partHandlersTest::recordNewFeatures(const std::string& metaName) {
    for (_bstr_t name; collectNewFeatures(*part_, metaName.c_str(), name, 1) == 1;)
        name = _bstr_t();
}

void partHandlersTest::block(double w, double h, double d) {
    session_->block(w, h, d);
    recordNewFeatures("Block");
    kit().journal().clear();
}

std::size_t partHandlersTest::recordCount() const {
    std::size_t count = 0;
    for (const featureRecord& record : part_->featureRecords)
        if (!(record.metaName == mzComStringC("swEnvItems")) &&
            !(record.metaName == mzComStringC("Block")))
            ++count;
    return count;
}

void partHandlersTest::TearDown() {
    reader_.reset();
    part_.reset();
    session_.reset();
    solidsTest::TearDown();
}

metaTreePtrT partHandlersTest::place(const std::string& text) {
    metaObjectC node;
    EXPECT_TRUE(node.ctorFromText(mzComStringC(text.c_str()))) << text;
    metaObjectC items(partNode_.findChild("ITEMS"));
    return items.appendChild(node.getTreePtr());
}

int partHandlersTest::run(const std::string& text) {
    return reader_->exeNode(place(text), part_.get());
}

std::string partHandlersTest::failureOf(const std::string& text) {
    try {
        run(text);
    } catch (const errorC& error) {
        return error.getMessage().toUtf8();
    }
    ADD_FAILURE() << "no failure for " << text;
    return {};
}

void partHandlersTest::recordSketch(const std::string& metaName, const std::string& swName) {
    const IFeaturePtr feature(partDocFeatureByName(IPartDocPtr(doc()), _bstr_t(swName.c_str())));
    ASSERT_TRUE(feature) << swName;
    ISketchPtr sketch;
    sketchPtrFromVariant(sketch, featureGetSpecificFeature(feature));
    part_->addSketchRecord(sketchRecord{sketch, metaName.c_str(), _bstr_t(swName.c_str())});
}

void partHandlersTest::recordRectangle(const std::string& metaName, const std::string& plane,
                                       double x, double y, double w, double h) {
    recordSketch(metaName, session_->rectangleSketch(plane, x, y, w, h));
}

void partHandlersTest::recordCircle(const std::string& metaName, const std::string& plane,
                                    double cx, double cy, double radius) {
    recordSketch(metaName, session_->circleSketch(plane, cx, cy, radius));
}

double partHandlersTest::volume() {
    return massPropGetVolume(docExtCreateMassProperty(modelDocGetExtension(doc())));
}

std::map<std::string, int> partHandlersTest::faceCounts() const {
    std::map<std::string, int> counts;
    for (const auto& body : session_->model().bodies(swsim::BodyKind::Solid))
        for (const auto& face : body->faces())
            switch (face->surface().kind) {
            case swsim::SurfaceKind::Plane:
                ++counts["plane"];
                break;
            case swsim::SurfaceKind::Cylinder:
                ++counts["cylinder"];
                break;
            case swsim::SurfaceKind::Cone:
                ++counts["cone"];
                break;
            default:
                ++counts["other"];
                break;
            }
    return counts;
}

IFeaturePtr partHandlersTest::recorded(const std::string& metaName) {
    _bstr_t swName;
    IFeaturePtr feature;
    EXPECT_TRUE(part_->findFeatureRecord(metaName.c_str(), swName, feature)) << metaName;
    return feature;
}

int partHandlersTest::countFeatures(const std::string& typeName) {
    int count = 0;
    for (IDispatchPtr next = modelDocFirstFeature(doc()); next;) {
        const IFeaturePtr feature(next);
        if (mzComStringC(featureGetTypeName(feature)).toUtf8() == typeName)
            ++count;
        next = featureGetNext(feature);
    }
    return count;
}
