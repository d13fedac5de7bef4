#pragma once
// Registration of the 3D view classes under their tags (priority metaClassPriority = 100):
// - registry of m3dDocumentC: "PART" (m3dPartC), "ASSEMBLY" (m3dAsmC);
// - registry of m3dGeomOpBaseC (the scale / transform dispatch): the documents again and
//   "PLANE", "SKETCH", "BASE", "CUT", "DRILLING", "FOEFEAT", "SWEEP", "FEATPATTERN",
//   "FPSKETCH", "FPBASEFEAT";
// - registry of metaObjectC (views without geometric operations): shapes "LINE", "ARC",
//   "CIRCLE", "CENTER", "LOOP"; "SKETCHON"; annotations "ANNOTATIONSETS",
//   "ANNOTATIONSETFACE", "ANNOTATIONSETTHREAD", "ANNOTATIONFACE", "ANNOTATIONTHREAD",
//   "THSPEC"; levels of detail "PARTLOD", "PARTLODENTS", "PARTLODENT"; "FPSKETCHROTCP",
//   "HISTORY", "PARTATTR", "ASMATTR", "PARTPREFS", "ASMPREFS".
// Safe to call more than once (an equal priority never replaces a registration).
void registerM3dClasses();
