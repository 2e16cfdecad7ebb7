#include "import/MeshFaces.h"

#include "import/LevelFaces.h"
#include "level/LevelMeshes.h"
#include "import/MeshPlacement.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

class TMeshEmitter {
public:
    TMeshEmitter(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMesh& mesh, const TMeshPlacement& placement,
                 float scale, const TMeshLook& look)
        : faces_(faces), level_(level), mesh_(mesh), placement_(placement), scale_(scale), look_(look) {}

    void emit() {
        std::array<TD3DLVertex, 4> quad;
        std::array<TD3DLVertex, 3> triangle;
        for (const auto& face : mesh_.texturedRectangles)
            if (corners(face, quad, look_.colour)) faces_.Rectangle(quad, face.texture, TFaceBuilder::TCorners::Mesh);
        for (const auto& face : mesh_.texturedTriangles)
            if (corners(face, triangle, look_.colour)) faces_.Triangle(triangle, face.texture, TFaceBuilder::TCorners::Mesh);
        for (const auto& face : mesh_.colouredRectangles)
            if (corners(face, quad, colouredColour(face.texture))) faces_.ColouredRectangle(quad, look_.colouredName);
        for (const auto& face : mesh_.colouredTriangles)
            if (corners(face, triangle, colouredColour(face.texture))) faces_.ColouredTriangle(triangle, look_.colouredName);
    }

private:
    template <size_t N>
    bool corners(const TLevelMeshFace& face, std::array<TD3DLVertex, N>& out, uint32_t colour) const {
        for (size_t c = 0; c < N; ++c) {
            const uint16_t index = face.vertices[c];
            if (index >= mesh_.vertices.size()) return false;
            const auto& v = mesh_.vertices[index];
            const auto p = placement_.Apply(v[0], v[1], v[2]);
            out[c] = {};
            out[c].x = float(p[0] / scale_);
            out[c].y = float(-p[1] / scale_);
            out[c].z = float(p[2] / scale_);
            out[c].color = colour;
        }
        return true;
    }

    // The low byte of a coloured face's word indexes the 8-bit palette (6 bits a channel).
    uint32_t colouredColour(uint16_t word) const {
        if (!look_.palette) return 0x00FFFFFF;
        const uint8_t* entry = level_.Palette8.data() + size_t(word & 0xFF) * 3;
        uint32_t out = 0;
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned light = (look_.colour >> (16 - 8 * channel)) & 0xFF;
            out = out << 8 | ((entry[channel] & 63u) * 4 * light / 255);
        }
        return out;
    }

    TFaceBuilder& faces_;
    const TTombRaiderLevel& level_;
    const TLevelMesh& mesh_;
    const TMeshPlacement& placement_;
    float scale_;
    const TMeshLook& look_;
};

}  // namespace

void EmitMesh(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMesh& mesh, const TMeshPlacement& placement,
              float scale, const TMeshLook& look) {
    const size_t count = mesh.texturedRectangles.size() + mesh.texturedTriangles.size() + mesh.colouredRectangles.size() +
                         mesh.colouredTriangles.size();
    if (faces.TakeMeshFaces(count)) TMeshEmitter(faces, level, mesh, placement, scale, look).emit();
}

}  // namespace grottix
