#include "libs/geomcore/buildasm3d/assembly_members.h"

#include "libs/geomcore/buildsw3d/build_helpers.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/detaillevel.h"
#include "metamodel/m3d/document.h"

#include <map>

namespace {

// True when two nodes hold equal children in order, the children tagged `passedOver` left
// out; with `levelToo`, their "PARTLOD" children are compared without "SELLODNAME".
bool sameChildren(const metaObjectC& a, const metaObjectC& b, const char* passedOver,
                  bool levelToo) {
    metaObjEnumC x = a.enumChildren();
    metaObjEnumC y = b.enumChildren();
    for (;;) {
        while (x.isValid() && metaObjectC(x.current()).getTag() == passedOver)
            x.next();
        while (y.isValid() && metaObjectC(y.current()).getTag() == passedOver)
            y.next();
        if (!x.isValid() || !y.isValid())
            return x.isValid() == y.isValid();
        const metaObjectC u(x.current());
        const metaObjectC v(y.current());
        const bool levels = levelToo && u.getTag() == m3dPartDetailLevelC::tagName() &&
                            v.getTag() == m3dPartDetailLevelC::tagName();
        if (levels ? !sameChildren(u, v, "SELLODNAME", false) : u.compareTree(v.getTreePtr()) == 0)
            return false;
        x.next();
        y.next();
    }
}

mzComStringC refusalOf(const metaObjectC& member) {
    if (member.getTag() == m3dAsmC::tagName())
        return "Assemblies inside an assembly cannot be built";
    return mzComStringC("Items of kind ") + member.getTag() + " cannot be built in an assembly";
}

} // namespace

std::vector<asmMemberS> readAsmMembers(const metaObjectC& items) {
    std::vector<asmMemberS> members;
    // The members read so far of each file name, by index.
    std::map<std::string, std::vector<std::size_t>> byFile;
    for (metaObjEnumC child = items.enumChildren(); child.isValid(); child.next()) {
        const metaObjectC node(child.current());
        if (!node.isKeyNode())
            continue;
        asmMemberS member;
        member.node = node.getTreePtr();
        member.samePart = member.samePartButLevel = members.size();
        if (!(node.getTag() == m3dPartC::tagName())) {
            member.refusal = refusalOf(node);
            members.push_back(member);
            continue;
        }
        try {
            member.fileName = documentFileName(node, "Part", ".sldprt", "part");
        } catch (const errorC& error) {
            member.refusal = error.getMessage();
            members.push_back(member);
            continue;
        }
        // Only the first member of each kind is compared with: equal nodes are one kind.
        std::vector<std::size_t>& earlier = byFile[member.fileName];
        for (const std::size_t i : earlier) {
            const asmMemberS& other = members[i];
            if (other.samePartButLevel != i ||
                !sameChildren(node, metaObjectC(other.node), "MAT", true))
                continue;
            member.samePartButLevel = i;
            break;
        }
        for (const std::size_t i : earlier) {
            const asmMemberS& other = members[i];
            if (other.samePart != i || other.samePartButLevel != member.samePartButLevel ||
                !sameChildren(node, metaObjectC(other.node), "MAT", false))
                continue;
            member.samePart = i;
            break;
        }
        earlier.push_back(members.size());
        members.push_back(member);
    }
    return members;
}
