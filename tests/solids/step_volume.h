// The volume and box of the shapes in a STEP file, and whether a point lies in their
// material, as another CAD program reading the copy finds them.
#pragma once

#include <BRepBndLib.hxx>
#include <BRepClass3d_SolidClassifier.hxx>
#include <BRepGProp.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <STEPControl_Reader.hxx>
#include <TopExp_Explorer.hxx>
#include <gp_Pnt.hxx>

#include <array>
#include <optional>
#include <string>

// The shapes of the file; none when it cannot be read.
inline std::optional<TopoDS_Shape> stepShape(const std::string& path) {
    STEPControl_Reader reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone)
        return std::nullopt;
    reader.TransferRoots();
    return reader.OneShape();
}

// -1 when the file cannot be read.
inline double stepVolume(const std::string& path) {
    const std::optional<TopoDS_Shape> shape = stepShape(path);
    if (!shape)
        return -1.0;
    GProp_GProps props;
    BRepGProp::VolumeProperties(*shape, props);
    return props.Mass();
}

// Minimum x, y, z, then maximum x, y, z of the shapes' exact geometry; zeros when the file
// cannot be read or holds nothing.
inline std::array<double, 6> stepBox(const std::string& path) {
    const std::optional<TopoDS_Shape> shape = stepShape(path);
    Bnd_Box box;
    if (shape)
        BRepBndLib::AddOptimal(*shape, box, false, false);
    std::array<double, 6> corners{};
    if (!box.IsVoid())
        box.Get(corners[0], corners[1], corners[2], corners[3], corners[4], corners[5]);
    return corners;
}

// Whether the point lies inside one of the solids of `shape` (a point on a face is not).
inline bool materialAt(const TopoDS_Shape& shape, double x, double y, double z) {
    for (TopExp_Explorer solid(shape, TopAbs_SOLID); solid.More(); solid.Next()) {
        BRepClass3d_SolidClassifier classifier(solid.Current(), gp_Pnt(x, y, z), 1e-7);
        if (classifier.State() == TopAbs_IN)
            return true;
    }
    return false;
}
