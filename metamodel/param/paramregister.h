#pragma once
// Start-up registration of the parametric classes in the interface registries.
//
//   registry m3dParamEntityC: the 21 entity tags, priority 5 (the tag dispatch of
//     m3dParamEntityC::scale / transform looks them up)
//   registry m3dParamModelC: "PPART", "PASM", priority 6 (never looked up)
//   registry m3dParamModelInstanceC: "PPARTI", "PASMI", priority 6 (never looked up)
//   registry of the 3D documents: "PDOC" (m3dParamDocumentC), priority 5
//
// Safe to call more than once: an equal priority never replaces a registration.

inline constexpr int paramEntityPriority = 5;
inline constexpr int paramModelKindPriority = 6;
inline constexpr int paramDocumentPriority = 5;

void registerParamClasses();
