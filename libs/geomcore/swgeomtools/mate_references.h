// Mate references of a built part or assembly: named entities and mate-reference features
// through which the component is later mated at its classified faces ("QEL_FACE_TS") and its
// connection points ("QEL_CP_PLACE_PA"). The helper faces and edges of a reference are named
// "MATEREF_HELPER_PLANAR", "MATEREF_HELPER_CYL", "MATEREF_HELPER_CONIC" and
// "MATEREF_HELPER_EDGE"; the first of a document carries the plain name, later ones "_" and
// their id.
#pragma once

#include "metamodel/m3d/annotations.h"
#include "metamodel/m3d/document.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <vector>

// A connection point that got no mate reference, and why.
struct swUnreferencedPointS {
    mzComStringC name;
    mzComStringC reason;
};

// The mate references of one document; lives for one buildMateReferences call.
struct swMateRefContextS {
    // A cone may stand in for the cylinder at a connection-point edge (never set here).
    bool acceptCone = false;
    // The holder of the document pointer (the builder's member, not a copy).
    IModelDoc2Ptr* document = nullptr;
    // The built part's or assembly's meta node.
    m3dDocumentC documentView;
    // The first helper names and face reference carry no suffix.
    bool firstEdgeRef = true;
    bool firstFaceRef = true;
    // Connection points that got no mate reference: none of that name, no plane "<cp> XY"
    // or no sketch on it.
    std::vector<swUnreferencedPointS> unreferencedPoints;
    // Classified faces that got no mate reference, each a message naming it.
    std::vector<mzComStringC> unreferencedFaces;
    // Connection-point entries whose QEL_3DID names no connection point (no comma, nothing
    // after the last one), each a message naming the entry.
    std::vector<mzComStringC> unnamedPoints;

    IModelDoc2* doc() const;
    // 1 part, 2 assembly, 0 otherwise.
    long documentType() const;
};

// Mode: 0 nothing; 1 face references, connection points on an existing circular edge or else
// a helper body; 2 face references on surface copies, connection points only on helper
// bodies; other values face references only (each connection point is noted in
// `unreferencedPoints`). `transform` is row-major (the identity from both callers). 1 when
// the classification held face or connection-point entries, else 0.
//
// Face references: each "QEL_FACE_TS" id info of the classification info "qel" names the
// ANNOTATIONFACE annotations (in ANNOTATIONSETFACE sets) whose FACD class instance has that
// CLASSID and INSTID; the face at the annotation's point gets a reference named after its
// surface kind ("PLANAR", "CYL", "CONIC"). Entity names are given only in parts.
// Malformed CLASSIFICATIONINFO or FACD text is skipped (logged). An annotation whose point
// lies on no face, and in an assembly every face reference of mode 2 (surface copies are
// made only in parts), is skipped and noted in `unreferencedFaces`; a connection point that
// gets no reference is noted in `unreferencedPoints`, an entry that names none in
// `unnamedPoints`. A SolidWorks failure ends the step
// (raised to the caller).
int buildMateReferences(swMateRefContextS& context, const double transform[16], int mode);

// Names the two faces of a circular edge between a plane and a cylinder or cone and the edge
// itself, unless the edge's name already holds "MATEREF". Parts only.
void nameEdgeMateRefHelpers(swMateRefContextS& context, const _bstr_t& suffixName, IEdge* edge);

// A mate reference `name` on the first edge of the feature's first planar face with edges
// (the feature's bodies are hidden first). Returns 0.
int addFeatureFaceMateReference(swMateRefContextS& context, IFeature* feature, const _bstr_t& name);

// Whether the face annotation's FACD class instance is a classified face ("QEL_FACE_TS" with
// an INSTID), and its INSTID. FACD text that cannot be read is logged and answers false.
bool classifiedFaceInstId(const m3dAnnotationFaceC& annotation, mzComStringC& instId);

// Creates the mate-reference feature on one entity (type 0, alignment 0, no further entities).
void insertEntityMateReference(IFeatureManager* manager, const _bstr_t& name, IDispatch* entity);
