// Shared by the sketch tests: a part with a sketch open on a plane, meta sketches from text,
// and the drawn segments read back from the session's model.
#pragma once

#include "libs/geomcore/swapi/swapi.h"
#include "metamodel/m3d/register.h"
#include "metamodel/m3d/sketch.h"
#include "platform/host/services/host_services.h"
#include "platform/sldworks/model/sketch.h"
#include "platform/sldworks/testkit/fixtures.h"

#include <gtest/gtest.h>

#include <string>

class SketchToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        registerM3dClasses();
        doc = f.docPtr();
    }
    void TearDown() override { hostsvc::resetHostServices(); }

    // Opens a sketch on the named plane through the session's own calls.
    swsim::SketchPtr openSketchOn(const char* plane) {
        modelDocClearSelection(doc);
        modelDocSelectByName(doc, plane, "PLANE", 0, 0, 0);
        EXPECT_EQ(modelDocInsertSketch(doc, VARIANT_TRUE), S_OK);
        f.kit().reset();
        return f.model().activeSketch();
    }
    // A SKETCH node from text; the view owns it.
    m3dSketchC sketchFrom(const std::string& text) {
        m3dSketchC view;
        EXPECT_TRUE(view.ctorFromText(text.c_str())) << text;
        return view;
    }
    static swsim::Vec3 modelStart(const swsim::SketchSegmentPtr& s) {
        return s->start()->modelPosition();
    }
    static swsim::Vec3 modelEnd(const swsim::SketchSegmentPtr& s) {
        return s->end()->modelPosition();
    }
    static void expectNear(const swsim::Vec3& a, const swsim::Vec3& b, double tol = 1e-9) {
        EXPECT_NEAR(a.x, b.x, tol);
        EXPECT_NEAR(a.y, b.y, tol);
        EXPECT_NEAR(a.z, b.z, tol);
    }

    partFixtureC f;
    IModelDoc2Ptr doc;
};
