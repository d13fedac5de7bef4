#include "tests/buildroad/buildroad_fixture.h"

#include "libs/geomcore/buildsw3d/plane_handler.h"
#include "libs/geomcore/buildsw3d/plane_selection.h"
#include "libs/geomcore/swapi/swapi.h"

IRefPlanePtr partBuildTest::planeNamed(const char* name) {
    const IPartDocPtr partDoc(session_->doc());
    return queryInterfaceOf<IRefPlane>(partDocFeatureByName(partDoc, name));
}

void partBuildTest::adoptTemplatePlanes() {
    for (;;) {
        _bstr_t name;
        if (!findRefPlane(*part_, mzComStringC(), name, 1))
            break;
    }
}

metaTreePtrT partBuildTest::placeNode(const std::string& text) {
    metaObjectC node = tree(text);
    metaObjectC items(partNode_.findChild("ITEMS"));
    return items.appendChild(node.getTreePtr());
}

void partBuildTest::runPlane(const std::string& text) {
    const metaTreePtrT placed = placeNode(text);
    swMetaReaderC reader(creation_);
    reader.addCommand(std::make_unique<swMeta3dPlaneC>());
    reader.exeNode(placed, part_.get());
}
