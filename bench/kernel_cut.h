// The plain OpenCASCADE side of the conversion benchmarks: a blank cut by all its tools in one
// Boolean, as a program using the kernel alone would make the solid.
#pragma once

#include <BRepAlgoAPI_Cut.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS_Shape.hxx>

// The blank cut by every tool in one Boolean, the result in `result` when given; false when
// OpenCASCADE fails.
inline bool cutInOneBoolean(const TopoDS_Shape& blank, const TopTools_ListOfShape& tools,
                            TopoDS_Shape* result = nullptr) {
    TopTools_ListOfShape arguments;
    arguments.Append(blank);
    BRepAlgoAPI_Cut cut;
    cut.SetArguments(arguments);
    cut.SetTools(tools);
    cut.SetRunParallel(false);
    cut.Build();
    if (!cut.IsDone() || cut.HasErrors() || cut.Shape().IsNull())
        return false;
    if (result != nullptr)
        *result = cut.Shape();
    return true;
}
