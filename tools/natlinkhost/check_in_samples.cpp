#include "tools/natlinkhost/check_in_samples.h"

#include "platform/sldworks/testkit/fixtures.h"

#include <filesystem>
#include <stdexcept>

namespace natlinkhost {
namespace {

std::string preparedFolder(const std::string& folder) {
    const std::filesystem::path path = std::filesystem::absolute(folder).lexically_normal();
    std::filesystem::create_directories(path);
    return path.string();
}

void setSummary(swsim::PartDocument& part, int field, const std::string& text) {
    if (!part.setSummary(field, text))
        throw std::runtime_error("summary field " + std::to_string(field) + " refused");
}

} // namespace

std::string writeSamplePart(const std::string& folder) {
    partBuilderC part(swsim::PartDocument::create());
    const std::string boss = part.block(40, 20, 10);
    part.configuration("Long");
    part.dimension("D1@" + boss, 60.0, {"Long"});
    part.property("", "Material", "Steel");
    part.property("", "Finish", "raw");
    part.property("Default", "Finish", "bright");
    part.property("Long", "Finish", "painted");
    setSummary(part.model(), 0, "Configured block");
    setSummary(part.model(), 2, "natlink");
    const std::string path = preparedFolder(folder) + "/" + samplePartFile;
    part.save(path);
    return path;
}

std::string writeSampleAssembly(const std::string& folder) {
    const std::string base = std::filesystem::path(sampleAssemblyFile).stem().string();
    const assemblyFixtureC assembly(preparedFolder(folder),
                                    {{"Plate", 40, 20, 5}, {"Pin", 5, 5, 20}},
                                    {"Plate", "Pin", "Pin"}, base);
    return assembly.path();
}

} // namespace natlinkhost
