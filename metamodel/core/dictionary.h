#pragma once
// Dictionary views: a node whose children are PAIR entries, each holding a key node and a
// value node:  (CREAOPTATTRMAP (PAIR (CREAOPTATTRMAPKEY "DEFAULTATTR") (EXTATTRLIST ...)))
// KeyT and ValT are view classes with a static keyName() and a (node, owns) constructor.

#include "metamodel/core/listviews.h"

// Tag of a dictionary entry.
inline constexpr const char* keyPair = "PAIR";

// True when the view has a node, it is a key node and its tag is "PAIR".
bool isPair(const metaObjectVirtualDataBaseC& view);

template <class KeyT, class ValT> class metaObjDictPairTemplateC : public metaObjectC {
public:
    metaObjDictPairTemplateC() = default;
    explicit metaObjDictPairTemplateC(metaTreePtrT node, bool owns = false)
        : metaObjectC(node, owns) {}

    // The pair's key child (appended empty when missing); unbound without a node.
    KeyT getKey() { return KeyT(getOrAddChild(KeyT::keyName()), false); }
    // The pair's value child (appended empty when missing); unbound without a node.
    ValT getValue() { return ValT(getOrAddChild(ValT::keyName()), false); }
};

template <class KeyT, class ValT> class metaObjDictTemplateC : public metaObjListContainerC {
public:
    using pairT = metaObjDictPairTemplateC<KeyT, ValT>;
    using metaObjListContainerC::metaObjListContainerC;

    // The first PAIR child whose key equals key (compared as trees, source locations
    // ignored); an unbound pair when none does.
    pairT findPair(const KeyT& key) const {
        for (metaObjEnumC e = enumChildren(); e.isValid(); e.next()) {
            pairT pair(e.current(), false);
            if (!isPair(pair))
                continue;
            if (pair.getKey().compareTree(key.getTreePtr(), metaCompareIgnoreLocation) != 0)
                return pair;
        }
        return pairT();
    }

    // The value stored under key; an unbound value view when there is none.
    ValT findValue(const KeyT& key) const {
        pairT pair = findPair(key);
        return pair.isValid() ? pair.getValue() : ValT();
    }
};
