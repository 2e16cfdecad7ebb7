#pragma once
// A small reader of binary glTF files for the export's tests, written apart from the exporter: the
// header and the two chunks, the JSON through Qt, accessors read through their buffer views, and
// node transforms composed down the tree.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonObject>

namespace grottix::test {

using TPoint = std::array<double, 3>;

struct TGlb {
    QJsonObject json;
    std::vector<uint8_t> binary;
    std::vector<std::string> faults;  // what is wrong with the layout (chunks, alignment, min and max)

    QJsonObject at(const char* array, int index) const { return json[array].toArray()[index].toObject(); }
    // Every component of an accessor's elements, in order.
    std::vector<double> accessor(int index) const;
    // The bytes of an image's buffer view.
    std::vector<uint8_t> image(int index) const;
};

TGlb ReadGlb(const std::string& path);

// One primitive as a node draws it: positions in the scene's space, and the rest as stored.
struct TDrawn {
    std::string node;
    int parent = -1;  // the parent node's index
    int material = -1;
    std::vector<TPoint> positions;
    std::vector<std::array<double, 2>> uvs;
    std::vector<TPoint> colours;
    std::vector<uint32_t> indices;
};
// Every primitive of every node that shows a mesh (a mesh shown by several nodes appears for each).
std::vector<TDrawn> DrawnPrimitives(const TGlb& glb);

}  // namespace grottix::test
