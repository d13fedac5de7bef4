// Preview bitmaps: the bodies' tessellation seen from the isometric direction, flat shaded
// with a depth buffer, written as a 24-bit BMP. Good enough to tell a part from an empty
// picture; not a renderer.
#include "platform/sldworks/model/preview.h"

#include "platform/sldworks/model/part_impl.h"

#include <BRepMesh_IncrementalMesh.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <limits>
#include <vector>

namespace swsim::detail {

namespace {

struct Triangle {
    std::array<Vec3, 3> p;
};

std::vector<Triangle> triangles(const TopoDS_Shape& shape) {
    std::vector<Triangle> out;
    for (TopExp_Explorer ex(shape, TopAbs_FACE); ex.More(); ex.Next()) {
        const TopoDS_Face& face = TopoDS::Face(ex.Current());
        TopLoc_Location loc;
        const Handle(Poly_Triangulation) tri = BRep_Tool::Triangulation(face, loc);
        if (tri.IsNull())
            continue;
        const gp_Trsf trsf = loc.Transformation();
        for (int i = 1; i <= tri->NbTriangles(); ++i) {
            int n[3];
            tri->Triangle(i).Get(n[0], n[1], n[2]);
            Triangle t;
            for (int k = 0; k < 3; ++k) {
                const gp_Pnt p = tri->Node(n[k]).Transformed(trsf);
                t.p[static_cast<size_t>(k)] = {p.X(), p.Y(), p.Z()};
            }
            out.push_back(t);
        }
    }
    return out;
}

void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xff));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

} // namespace

void writeShadedBitmap(const TopoDS_Shape& shape, double deflection, const std::string& path,
                       int width, int height) {
    if (width < 1 || height < 1 || width > 4096 || height > 4096)
        throw ModelError("bitmap " + path + ": the size must be 1 to 4096 pixels each way");
    std::vector<Triangle> tris;
    if (!shape.IsNull()) {
        try {
            BRepMesh_IncrementalMesh mesh(shape, std::max(1e-6, deflection), false, 0.5, false);
            tris = triangles(shape);
        } catch (const Standard_Failure& e) {
            throw ModelError("bitmap " + path + ": " + e.GetMessageString());
        }
    }
    // Towards the viewer, and the screen's axes.
    const Vec3 eye = normalized(Vec3{1, 1, 1});
    const Vec3 right = normalized(cross(Vec3{0, 1, 0}, eye));
    const Vec3 up = cross(eye, right);
    double minX = std::numeric_limits<double>::max();
    double minY = minX;
    double maxX = -minX;
    double maxY = -minX;
    for (const auto& t : tris)
        for (const auto& p : t.p) {
            minX = std::min(minX, dot(p, right));
            maxX = std::max(maxX, dot(p, right));
            minY = std::min(minY, dot(p, up));
            maxY = std::max(maxY, dot(p, up));
        }
    const double spanX = std::max(maxX - minX, 1e-12);
    const double spanY = std::max(maxY - minY, 1e-12);
    const double scale = 0.9 * std::min(width / spanX, height / spanY);
    const double offX = width / 2.0 - scale * (minX + maxX) / 2.0;
    const double offY = height / 2.0 - scale * (minY + maxY) / 2.0;

    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<std::array<std::uint8_t, 3>> colour(pixels, {255, 255, 255});
    std::vector<double> depth(pixels, -std::numeric_limits<double>::max());
    for (const auto& t : tris) {
        const Vec3 n = cross(t.p[1] - t.p[0], t.p[2] - t.p[0]);
        if (norm(n) <= 0.0)
            continue;
        const double shade = 0.25 + 0.75 * std::abs(dot(normalized(n), eye));
        const std::array<std::uint8_t, 3> rgb = {static_cast<std::uint8_t>(120 * shade),
                                                 static_cast<std::uint8_t>(150 * shade),
                                                 static_cast<std::uint8_t>(200 * shade)};
        double sx[3];
        double sy[3];
        double sz[3];
        for (size_t k = 0; k < 3; ++k) {
            sx[k] = offX + scale * dot(t.p[k], right);
            sy[k] = offY + scale * dot(t.p[k], up);
            sz[k] = dot(t.p[k], eye);
        }
        const double area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        if (std::abs(area) < 1e-12)
            continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
        const int x1 =
            std::min(width - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
        const int y1 =
            std::min(height - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5;
                const double py = y + 0.5;
                const double w0 =
                    ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                const double w1 =
                    ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                const double w2 = 1.0 - w0 - w1;
                if (w0 < 0.0 || w1 < 0.0 || w2 < 0.0)
                    continue;
                const double z = w0 * sz[0] + w1 * sz[1] + w2 * sz[2];
                const size_t i =
                    static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
                if (z > depth[i]) {
                    depth[i] = z;
                    colour[i] = rgb;
                }
            }
        }
    }

    // BMP: file header, BITMAPINFOHEADER, rows bottom-up padded to 4 bytes, BGR order.
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> b;
    b.reserve(54 + dataBytes);
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + dataBytes);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(width));
    put32(b, static_cast<std::uint32_t>(height));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, dataBytes);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = 0; y < height; ++y) {
        const size_t start = b.size();
        for (int x = 0; x < width; ++x) {
            const auto& c = colour[static_cast<size_t>(y) * static_cast<size_t>(width) +
                                   static_cast<size_t>(x)];
            b.push_back(c[2]);
            b.push_back(c[1]);
            b.push_back(c[0]);
        }
        b.resize(start + rowBytes, 0);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    out.close();
    if (!out)
        throw ModelError("bitmap: cannot write " + path);
}

TopoDS_Compound compoundOf(const std::vector<BodyPtr>& bodies) {
    BRep_Builder builder;
    TopoDS_Compound c;
    builder.MakeCompound(c);
    for (const auto& body : bodies)
        builder.Add(c, body->shape().shape);
    return c;
}

} // namespace swsim::detail

namespace swsim {

void PartDocument::saveBitmap(const std::string& path, int width, int height) const {
    flush();
    const Box b = box();
    const double size = b.empty ? 1.0 : distance(b.min, b.max);
    detail::writeShadedBitmap(detail::compoundOf(shownBodies()), size * 2e-3, path, width, height);
}

} // namespace swsim
