// The volume of the shapes in a STEP file, as another CAD program reading the copy finds it.
#pragma once

#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <STEPControl_Reader.hxx>

#include <string>

// -1 when the file cannot be read.
inline double stepVolume(const std::string& path) {
    STEPControl_Reader reader;
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone)
        return -1.0;
    reader.TransferRoots();
    GProp_GProps props;
    BRepGProp::VolumeProperties(reader.OneShape(), props);
    return props.Mass();
}
