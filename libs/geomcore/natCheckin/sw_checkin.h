// swCheckinC: reads a native SolidWorks part or assembly that is open in SolidWorks into the
// catalogue's check-in record (checkin_record.h): one DOCUMENT record per document with its
// files, previews, unit, variables and configurations, and for an assembly one member record
// per component document, recursively.
//
// A short-lived stack object of the conversion entry: built, `start` called once, destroyed.
// While it lives, six SolidWorks user preferences are overridden; they (and preference 211,
// which the 3D previews change) are put back when it is destroyed, also after a failure, and
// when the constructor itself fails part-way.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "libs/geomcore/natCheckin/checkin_record.h"
#include "libs/geomcore/natCheckin/host_ping.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <vector>

class checkinVarIndexC;

class swCheckinC {
public:
    // Keeps the application, the CAD system key (CADSYSTEM of every record), the 3D preview
    // format (2 SAT, 3 STEP, other STL) and the poll object; the double is not used. Saves and
    // overrides the preferences; a failure there puts back what was overridden and raises.
    swCheckinC(ISldWorksPtr& sldWorks, const mzComStringC& cadSystemKey, double unused,
               int previewFormat, TarnwickPollObj& pollObject);
    // Puts the preferences back; never throws.
    ~swCheckinC();
    swCheckinC(const swCheckinC&) = delete;
    swCheckinC& operator=(const swCheckinC&) = delete;

    // The check-in record of the document; the int is not used; a non-empty destination
    // folder becomes DESTPRJDIR. Never throws: any failure gives an unbound header.
    pShellHeaderC start(IModelDoc2Ptr doc, int unused, const mzComStringC& destinationFolder);

    void getPartData(IModelDoc2Ptr doc, pShellDocCheckinC& record);
    void getAsmData(IModelDoc2Ptr doc, pShellDocCheckinC& record);
    // Sets the unit fields from the document's length and angle unit arrays.
    void getUnitBases(IModelDoc2Ptr doc);

    // Files, identity, unit and previews of the record.
    void writeDocumentRecord(IModelDoc2Ptr& doc, pShellDocCheckinC& record);
    // Variables of the first configuration (CURVARSET), then the further configurations.
    void getParameters(IModelDoc2Ptr& doc, pShellDocCheckinC& record);
    // Table lines (and variants with previews) of the configurations after the first; 1. A
    // configuration that cannot be read ends the check-in with an errorC naming it: a family
    // without some of its members must not look like a complete record.
    int getFamilyMembers(IModelDoc2Ptr& doc, pShellDocCheckinC& record);
    // Summary fields and the custom properties of the configuration name ("" for those of the
    // document) as text variables.
    void checkInReverseVars(IModelDoc2Ptr& doc, _bstr_t& configuration,
                            pShellVariableSetC& descriptions, pShellCurVarSetC& values,
                            bool addDescriptions);
    // The dimension values of all features (and their sub-features) as numeric variables.
    void readDimensionVariables(IModelDoc2Ptr& doc, pShellVariableSetC& descriptions,
                                pShellCurVarSetC& values);
    // Writes a 300 x 300 bitmap and a 3D file of the document; an empty path is replaced by
    // a new unique temporary file "preview..." in the folder TMP names. A preview that could
    // not be written leaves no file behind. When no file can be made there, the check-in goes
    // on without previews (the reason is logged and shown as a creation warning, once) and the
    // paths stay empty.
    void createPreviews(IModelDoc2Ptr& doc, mzComStringC& bitmapPath, mzComStringC& path3d);

    // Removes the preview files this reader made (for a check-in that failed after `start`);
    // `start` does so itself when it fails.
    void removePreviewFiles();
    // Warnings of the latest `start` that leave the record usable (components whose file is
    // missing), one text each.
    const std::vector<mzComStringC>& getWarnings() const { return warnings; }

    // The text of the document-state error, empty when there was none.
    const mzComStringC& getErrorText() const { return errorText; }
    // Why the latest `start` gave no record (the document-state error, or the failure that
    // ended it); empty after a successful one.
    const mzComStringC& getFailureText() const { return failureText; }

    double getUnitFactor() const { return unitFactor; }
    const mzComStringC& getLengthUnitName() const { return lengthUnitName; }
    const mzComStringC& getAngleUnitName() const { return angleUnitName; }

private:
    struct unitsS {
        double factor;
        mzComStringC lengthName;
        mzComStringC angleName;
    };
    unitsS currentUnits() const { return {unitFactor, lengthUnitName, angleUnitName}; }
    void setUnits(const unitsS& units);

    void applyDocumentStateRule(IModelDoc2Ptr& doc);
    // What parts and assemblies read alike before and after an assembly's components: the
    // rebuild, units, files and previews; the variables and the document-state rule.
    void readDocumentHead(IModelDoc2Ptr& doc, pShellDocCheckinC& record);
    void readDocumentTail(IModelDoc2Ptr& doc, pShellDocCheckinC& record);
    // The member (or top) document being read, for the failure texts; pushed while it is read.
    class readingEntryC;
    // Turns the exception being handled into an errorC naming the step and the document being
    // read (an errorC passes unchanged: it names what failed already) and throws it.
    [[noreturn]] void rethrowNamed() const;
    void beginStep(const mzComStringC& step) { currentStep = step; }
    // Throws errorC when the document of that native path is being read higher up.
    void refuseComponentBeingRead(const mzComStringC& nativePath) const;
    // A component without a document: a warning naming its file and why it is not loaded; a
    // component that is a document being read throws as refuseComponentBeingRead does.
    void noteComponentWithoutDocument(IDispatch* child);
    // ": REASON" from SolidWorks' message when loading the member's file fails again; empty
    // when it gives none, or loads the file now (which is closed again). Never throws.
    mzComStringC whyNotLoaded(const mzComStringC& path);
    // A warning of the record (logged, and answered by getWarnings once), naming the document
    // being read.
    void noteWarning(const mzComStringC& what);
    mzComStringC newPreviewFile(const char* extension);
    void readDimensionChain(IModelDoc2Ptr& doc, IFeature* feature, checkinVarIndexC& variables);
    void writeDimensionVariable(IModelDoc2Ptr& doc, IDimension* dimension,
                                checkinVarIndexC& variables);
    void setPreviewUnitPreference(long value);
    void restorePreferences() noexcept;

    mzComStringC errorText;
    ISldWorksPtr sldWorks;
    mzComStringC cadSystemKey;
    TarnwickPollObj pollObject;
    long savedPref5 = 0;
    long savedPref192 = 0;
    long savedPref75 = 0;
    long savedPref142 = 0;
    VARIANT_BOOL savedToggle69 = VARIANT_FALSE;
    VARIANT_BOOL savedToggle72 = VARIANT_FALSE;
    // How many of the six preferences have been saved (and so must be put back), in the
    // order they are overridden.
    int savedCount = 0;
    long savedPref211 = 0;
    bool pref211Saved = false;
    // Every document starts in millimetres until its unit arrays say otherwise.
    double unitFactor = 1.0;
    mzComStringC angleUnitName = "deg";
    mzComStringC lengthUnitName = "mm";
    int previewFormat = 1;
    mzComStringC failureText;
    // Native paths of the documents being read, the top document first: a component that is
    // one of them would be read for ever (an assembly that contains itself).
    std::vector<mzComStringC> readingChain;
    // What the reader is doing, for the failure texts ("reading the units", ...).
    mzComStringC currentStep;
    std::vector<mzComStringC> warnings;
    std::vector<mzComStringC> previewFiles;
    // Why no preview file could be made; once set, no further preview of this `start` is
    // tried.
    mzComStringC previewFailure;
};
