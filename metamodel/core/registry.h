#pragma once
// Class registries: one registry per interface base (m3dDocumentC, m3dParamEntityC, ...)
// maps a node tag to the view class registered under it, with a priority. A later
// registration replaces an earlier one only with a higher priority. Each thread gets its
// own prototype object of a registered class on its first lookup; a dispatched call binds
// the thread's prototype to the node for the call (prototypeBindGuardC).
//
// One process-wide lock guards every registry. Registration is done by an explicit,
// idempotent start-up call per module (registerMetaCoreClasses() for this one); meta
// classes register with priority 100 (metaClassPriority).
//
// Use from a module:
//     metaObjInterfaceRegistry<m3dDocumentC>().registerClass<m3dPartC>("PART", 100);
//     if (m3dDocumentC* proto = lookupInterfaceInstance<m3dDocumentC>("PART")) {
//         prototypeBindGuardC bind(*proto, node);
//         proto->scale(2.0);
//     }

#include "metamodel/core/metaobject.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <typeinfo>

inline constexpr int metaClassPriority = 100;

// The one lock over all meta class registries.
std::mutex& metaRegistryLock();

class metaObjectInterfaceRegistryC {
public:
    using factoryT = std::function<std::unique_ptr<metaObjectVirtualDataBaseC>()>;

    explicit metaObjectInterfaceRegistryC(std::string interfaceName);
    metaObjectInterfaceRegistryC(const metaObjectInterfaceRegistryC&) = delete;
    metaObjectInterfaceRegistryC& operator=(const metaObjectInterfaceRegistryC&) = delete;
    ~metaObjectInterfaceRegistryC();

    const std::string& interfaceName() const { return name_; }

    // Registers the class made by factory under tag. Answers true when it was entered:
    // the tag was free, or held by a registration of lower priority. An equal or lower
    // priority leaves the earlier registration in place (so repeating a start-up call is
    // harmless). An invalid tag or an empty factory is refused.
    bool registerFactory(const mzComStringC& tag, int priority, factoryT factory,
                         std::string className);

    // The calling thread's prototype of the class registered under tag; null when the tag
    // is not registered. The prototype lives as long as the thread.
    metaObjectVirtualDataBaseC* lookup(const mzComStringC& tag);

    bool isRegistered(const mzComStringC& tag) const;
    // Priority of the registration under tag; INT32_MIN when none.
    int priorityOf(const mzComStringC& tag) const;
    // Name given at registration; empty when none.
    std::string classNameOf(const mzComStringC& tag) const;
    std::size_t size() const;
    // Forgets every registration (exit, tests); prototypes already handed out stay valid.
    void clear();

private:
    struct entryS {
        int priority = 0;
        std::uint64_t serial = 0; // identifies this registration for the thread caches
        factoryT factory;
        std::string className;
    };

    std::string name_;
    std::map<std::string, entryS> entries_;
};

// The registry of interface base BaseT (one per type, made on first use).
template <class BaseT> class metaObjectInterfaceRegistryT : public metaObjectInterfaceRegistryC {
public:
    using metaObjectInterfaceRegistryC::metaObjectInterfaceRegistryC;

    // Registers ClassT (default-constructible, derived from BaseT) under tag.
    template <class ClassT> bool registerClass(const mzComStringC& tag, int priority) {
        static_assert(std::is_base_of_v<BaseT, ClassT>, "registered class must derive the base");
        return registerFactory(
            tag, priority, [] { return std::unique_ptr<metaObjectVirtualDataBaseC>(new ClassT()); },
            typeid(ClassT).name());
    }

    BaseT* lookupInstance(const mzComStringC& tag) { return dynamic_cast<BaseT*>(lookup(tag)); }
};

template <class BaseT> metaObjectInterfaceRegistryT<BaseT>& metaObjInterfaceRegistry() {
    static metaObjectInterfaceRegistryT<BaseT> registry(typeid(BaseT).name());
    return registry;
}

// Registration of one view class under its tag in the registry of one interface base.
// Constructing it registers; it is meant to be made inside a module's start-up call.
class metaObjectInterfaceHlpC {
public:
    metaObjectInterfaceHlpC(metaObjectInterfaceRegistryC& registry, const mzComStringC& tag,
                            int priority, metaObjectInterfaceRegistryC::factoryT factory,
                            std::string className);
    // True when this registration was entered (see registerFactory).
    bool entered() const { return entered_; }

private:
    bool entered_ = false;
};

// The calling thread's prototype of the class registered under tag in a registry; null
// when the tag is not registered.
metaObjectVirtualDataBaseC* lookupInterfaceInstance(metaObjectInterfaceRegistryC& registry,
                                                    const mzComStringC& tag);

template <class BaseT> BaseT* lookupInterfaceInstance(const mzComStringC& tag) {
    return metaObjInterfaceRegistry<BaseT>().lookupInstance(tag);
}

// Points a prototype at a node for one dispatched call, without owning it, and puts the
// prototype back on its previous node (and ownership) when the guard ends. Guards nest.
class prototypeBindGuardC {
public:
    prototypeBindGuardC(metaObjectVirtualDataBaseC& prototype, metaTreePtrT node) noexcept;
    prototypeBindGuardC(const prototypeBindGuardC&) = delete;
    prototypeBindGuardC& operator=(const prototypeBindGuardC&) = delete;
    ~prototypeBindGuardC();

private:
    metaObjectVirtualDataBaseC& prototype_;
    metaObjectVirtualDataBaseC::bindingS saved_;
};

// Registers the classes of the meta object core (the extended attribute kinds); safe to
// call more than once.
void registerMetaCoreClasses();
