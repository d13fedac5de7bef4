// End-to-end check-in runs: natlinkhost in-process with TMP in the test's folder (the
// previews of a check-in land there and go with it), and the printed record read back.
#pragma once

#include "libs/geomcore/swapi/swapi.h"
#include "metamodel/core/metaobject.h"
#include "tests/natlinkhost/natlinkhost_fixture.h"

#include <cstdlib>
#include <map>
#include <optional>

class checkinRoadTest : public natlinkHostTest {
protected:
    void SetUp() override {
        natlinkHostTest::SetUp();
        const char* old = std::getenv("TMP");
        if (old != nullptr)
            oldTmp_ = old;
        std::filesystem::create_directories(path("tmp"));
        ::setenv("TMP", path("tmp").c_str(), 1);
    }
    void TearDown() override {
        if (oldTmp_)
            ::setenv("TMP", oldTmp_->c_str(), 1);
        else
            ::unsetenv("TMP");
        natlinkHostTest::TearDown();
    }

    // The record printed by a check-in, parsed back (owned by the returned view).
    static metaObjectC parsed(const std::string& text) {
        return metaObjectC(getIMetaTreeApi()->parseText(text, "checkin output"), true);
    }

    static std::string text(const metaObjectC& node, const char* key) {
        return node.readStringProperty(key).toUtf8();
    }

    // How many documents the session has open.
    static std::size_t openDocuments(ISldWorks* app) {
        std::size_t count = 0;
        for (IModelDoc2Ptr doc(sldWorksGetFirstDocument(app)); doc;
             doc = IModelDoc2Ptr(modelDocGetNext(doc)))
            ++count;
        return count;
    }

    // VARNAME -> VARVALUE of a value set (CURVARSET or a VARSET line).
    static std::map<std::string, std::string> values(const metaObjectC& set) {
        std::map<std::string, std::string> result;
        for (metaObjEnumC e = set.enumChildren(); e.isValid(); e.next()) {
            const metaObjectC var(e.current());
            result[text(var, "VARNAME")] = text(var, "VARVALUE");
        }
        return result;
    }

    // The children of `node` with tag `tag`, in order.
    static std::vector<metaObjectC> children(const metaObjectC& node, const char* tag) {
        std::vector<metaObjectC> result;
        for (metaObjEnumC e = node.enumChildren(); e.isValid(); e.next()) {
            const metaObjectC child(e.current());
            if (child.isKeyNode() && child.getTag() == tag)
                result.push_back(child);
        }
        return result;
    }

private:
    std::optional<std::string> oldTmp_;
};
