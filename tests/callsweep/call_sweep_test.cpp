// Every distinct SolidWorks call of one conversion (the bracket example) and of one check-in
// (the sample assembly, the sample part) made to fail in turn: with E_FAIL, and with a null
// object where the call answers one. After each run: nothing escaped the conversion entry,
// every application setting is as before, no document is left open, no meta node leaked, and
// a run that succeeded gave what the clean run gave, or else it failed with a reason that
// names more than the bare SolidWorks error. The sanitizer build takes every fourth call.
#include "libs/geomcore/swapi/swapi.h"
#include "natlinksolidworks/ps_plugin.h"
#include "platform/host/services/messages.h"
#include "platform/sldworks/session/session.h"
#include "tests/checkinroad/checkin_road_fixture.h"
#include "tools/natlinkhost/check_in_samples.h"
#include "tools/natlinkhost/conversion_options.h"
#include "tools/natlinkhost/model_files.h"

#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t sampleStride = 4;
#else
constexpr std::size_t sampleStride = 1;
#endif

struct outcomeS {
    int result = -1;
    std::string resText;
    std::string output; // what the run made, as a text to compare with the clean run's
};

class CallSweep : public checkinRoadTest {
protected:
    // One run on a new session with `fault` applied (none for an empty key).
    using runT = std::function<outcomeS(const ISldWorksPtr&, int)>;

    // The distinct calls of a clean run, and whether each ever answered an object.
    static std::map<std::string, bool> callsOf(const ISldWorksPtr& app) {
        std::map<std::string, bool> calls;
        for (const journalEntryS& entry : sessionTestKit(app).journal().entries())
            calls[entry.call] = calls[entry.call] || entry.result == "object";
        return calls;
    }

    // The application settings a clean run touched, with the values a new session has.
    static std::map<std::string, long> settingsOf(const ISldWorksPtr& app,
                                                  const std::set<std::string>& ids) {
        std::map<std::string, long> values;
        for (const std::string& id : ids) {
            const long number = std::stol(id.substr(1));
            values[id] = id[0] == 'T' ? static_cast<long>(sldWorksGetToggle(app, number))
                                      : sldWorksGetIntegerSetting(app, number);
        }
        return values;
    }

    static bool endsAWalk(const std::string& call) {
        return call == "IFeature::GetNext" || call == "IModelDoc2::FirstFeature" ||
               call == "IFeature::GetNextSubFeature" || call == "IModelDoc2::GetNextDocument" ||
               call == "IFace2::GetNextFace";
    }

    // `bare` tells a reason that names only the SolidWorks error, not what failed.
    void sweep(const runT& runOnce, const std::function<bool(const std::string&)>& bare) {
        const ISldWorksPtr cleanApp = createSimulatedSldWorks();
        const outcomeS clean = runOnce(cleanApp, 0);
        ASSERT_EQ(clean.result, 0) << clean.resText;
        const std::map<std::string, bool> calls = callsOf(cleanApp);
        std::set<std::string> settingIds;
        for (const journalEntryS& entry : sessionTestKit(cleanApp).journal().entries()) {
            if (entry.call == "ISldWorks::SetToggle")
                settingIds.insert("T" + entry.args.at(0));
            if (entry.call == "ISldWorks::SetIntegerSetting")
                settingIds.insert("I" + entry.args.at(0));
        }
        sessionTestKit(cleanApp).plan().clear();
        const std::size_t cleanOpen = openDocuments(cleanApp);
        ASSERT_GT(calls.size(), 20u);

        std::vector<std::string> problems;
        std::size_t index = 0;
        int runNumber = 1;
        for (const auto& [call, answersObject] : calls) {
            if (index++ % sampleStride != 0)
                continue;
            for (const bool null : {false, true}) {
                // A walk's null is its normal end (no further feature): no fault to find.
                if (null && (!answersObject || endsAWalk(call)))
                    continue;
                const std::string fault = call + (null ? " answering null" : " failing");
                const ISldWorksPtr app = createSimulatedSldWorks();
                const std::map<std::string, long> before = settingsOf(app, settingIds);
                sessionTestKit(app).journal().clear();
                if (null)
                    sessionTestKit(app).plan().returnNull(call, 1);
                else
                    sessionTestKit(app).plan().failWith(call, E_FAIL, 1);
                const std::int64_t nodes = getIMetaTreeApi()->liveNodeCount();
                outcomeS outcome;
                try {
                    outcome = runOnce(app, ++runNumber);
                } catch (...) {
                    problems.push_back(fault + ": an exception left the conversion entry");
                    continue;
                }
                sessionTestKit(app).plan().clear();
                if (getIMetaTreeApi()->liveNodeCount() != nodes)
                    problems.push_back(fault + ": meta nodes leaked");
                if (call != "ISldWorks::SetToggle" && call != "ISldWorks::SetIntegerSetting" &&
                    settingsOf(app, settingIds) != before)
                    problems.push_back(fault + ": a setting was not put back");
                if (call != "ISldWorks::CloseDocument" && openDocuments(app) > cleanOpen)
                    problems.push_back(fault + ": a document was left open");
                // A success that gave less must say what is missing.
                if (outcome.result == 0 && outcome.output != clean.output &&
                    outcome.resText.empty())
                    problems.push_back(fault + ": success, but it differs from the clean run:\n" +
                                       difference(clean.output, outcome.output));
                if (outcome.result != 0 && (outcome.resText.empty() || bare(outcome.resText)))
                    problems.push_back(fault +
                                       ": failure without naming what failed: " + outcome.resText);
            }
        }
        std::string all;
        for (const std::string& problem : problems)
            all += problem + "\n";
        EXPECT_TRUE(problems.empty()) << problems.size() << " problems:\n" << all;
    }

    // The lines of `made` that `clean` does not have, and the other way round.
    static std::string difference(const std::string& clean, const std::string& made) {
        const auto lines = [](const std::string& text) {
            std::multiset<std::string> result;
            std::istringstream in(text);
            for (std::string line; std::getline(in, line);)
                result.insert(line);
            return result;
        };
        const std::multiset<std::string> a = lines(clean);
        const std::multiset<std::string> b = lines(made);
        std::string text;
        for (const std::string& line : a)
            if (b.count(line) < a.count(line))
                text += "   - " + line + "\n";
        for (const std::string& line : b)
            if (a.count(line) < b.count(line))
                text += "   + " + line + "\n";
        return text;
    }

    // What a saved part holds, as natlinkhost inspect prints it.
    std::string inspected(const std::string& file) const {
        const runS shown = run({"inspect", file});
        return shown.code == 0 ? shown.out : "not readable: " + shown.err;
    }
};

TEST_F(CallSweep, EveryCallOfAConversionFailingInTurn) {
    const std::string model = sourceFile("examples/bracket.meta");
    sweep(
        [&](const ISldWorksPtr& app, int runNumber) {
            const std::string outDir = path("out" + std::to_string(runNumber));
            natlinkhost::loadedTreeS loaded = natlinkhost::loadModelFile(model);
            natlinkhost::ownedTreeC options = natlinkhost::buildConversionOptions(
                model, outDir, std::move(loaded.tree), natlinkhost::ownedTreeC());
            PSWPlugin plugin(app);
            outcomeS outcome;
            outcome.result = plugin.convertMetaTree(options.get());
            outcome.resText = natlinkhost::conversionResultText(options.get()).value_or("");
            // The document's own folder differs from run to run; what it holds must not.
            const std::string file = outDir + "/Bracket.sldprt";
            if (outcome.result == 0) {
                // Less the first line, which names the file. A sketch may stand on a plane
                // made for it where its face was not found: the same place, nothing lost.
                const std::string shown = inspected(file);
                static const std::regex placement(
                    R"(  RefPlane "Plane\d+"[^\n]*\n| on (a face|"[^"]*"))");
                outcome.output =
                    std::regex_replace(shown.substr(shown.find('\n') + 1), placement, "");
            }
            return outcome;
        },
        [](const std::string& text) { return text.rfind("SolidWorks call failed", 0) == 0; });
}

TEST_F(CallSweep, EveryCallOfACheckInFailingInTurn) {
    const std::string assembly = natlinkhost::writeSampleAssembly(path("samples"));
    const std::string part = natlinkhost::writeSamplePart(path("samples"));
    sweep(
        [&](const ISldWorksPtr& app, int) {
            outcomeS outcome;
            std::string records;
            outcome.result = 0;
            for (const auto& [document, format] :
                 {std::pair{assembly, natlinkhost::checkinAssemblyFormat},
                  std::pair{part, natlinkhost::checkinPartFormat}}) {
                natlinkhost::ownedTreeC options =
                    natlinkhost::buildCheckinOptions(document, format);
                PSWPlugin plugin(app);
                const int result = plugin.convertMetaTree(options.get());
                const std::string resText =
                    natlinkhost::conversionResultText(options.get()).value_or("");
                if (result != 0) {
                    outcome.result = 1;
                    outcome.resText = resText;
                    return outcome;
                }
                if (!resText.empty())
                    outcome.resText += resText + "\n";
                const metaTreePtrT record = natlinkhost::conversionOutputData(options.get());
                records += getIMetaTreeApi()->print(record, metaPrintStyle::compact) + "\n";
            }
            // Previews have names of their own each time, and may be left out with a warning.
            static const std::regex previews(
                R"( "[^"]*/preview[^"]*"|\((PREVIEW|PREVIEW3D|SHOW3D)[^()]*\)|\(VIEWNAMES[^()]*\))");
            static const std::regex blanks(" +");
            outcome.output =
                std::regex_replace(std::regex_replace(records, previews, ""), blanks, " ");
            return outcome;
        },
        [](const std::string& text) {
            return text.find("gave no record: SolidWorks call failed") != std::string::npos;
        });
}

} // namespace
