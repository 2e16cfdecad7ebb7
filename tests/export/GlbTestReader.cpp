#include "export/GlbTestReader.h"

#include <cmath>
#include <cstring>

#include <QJsonDocument>

#include "storage/Stream.h"

namespace grottix::test {

namespace {

using TMatrix = std::array<double, 16>;  // column-major, as glTF keeps matrices

uint32_t u32(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value = 0;
    if (at + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

int componentBytes(int type) { return type == 5126 || type == 5125 ? 4 : type == 5123 || type == 5122 ? 2 : 1; }
int componentsOf(const QString& type) { return type == "SCALAR" ? 1 : type == "VEC2" ? 2 : type == "VEC3" ? 3 : 4; }

double component(const uint8_t* at, int type) {
    switch (type) {
        case 5126: { float f; std::memcpy(&f, at, 4); return f; }
        case 5125: { uint32_t v; std::memcpy(&v, at, 4); return v; }
        case 5123: { uint16_t v; std::memcpy(&v, at, 2); return v; }
        default: return *at;
    }
}

TMatrix multiply(const TMatrix& a, const TMatrix& b) {
    TMatrix out{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 4; ++k) out[size_t(c * 4 + r)] += a[size_t(k * 4 + r)] * b[size_t(c * 4 + k)];
    return out;
}

TMatrix localMatrix(const QJsonObject& node) {
    const QJsonArray t = node["translation"].toArray(), q = node["rotation"].toArray();
    const double x = q.size() == 4 ? q[0].toDouble() : 0, y = q.size() == 4 ? q[1].toDouble() : 0;
    const double z = q.size() == 4 ? q[2].toDouble() : 0, w = q.size() == 4 ? q[3].toDouble() : 1;
    return {1 - 2 * (y * y + z * z), 2 * (x * y + z * w),     2 * (x * z - y * w),     0,
            2 * (x * y - z * w),     1 - 2 * (x * x + z * z), 2 * (y * z + x * w),     0,
            2 * (x * z + y * w),     2 * (y * z - x * w),     1 - 2 * (x * x + y * y), 0,
            t.size() == 3 ? t[0].toDouble() : 0, t.size() == 3 ? t[1].toDouble() : 0, t.size() == 3 ? t[2].toDouble() : 0, 1};
}

TPoint apply(const TMatrix& m, double x, double y, double z) {
    return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13], m[2] * x + m[6] * y + m[10] * z + m[14]};
}

// Accessors must hold what their min and max say, and views must start on 4-byte boundaries.
void checkLayout(TGlb& glb) {
    const QJsonArray views = glb.json["bufferViews"].toArray();
    for (qsizetype i = 0; i < views.size(); ++i) {
        const QJsonObject view = views[i].toObject();
        const auto offset = view["byteOffset"].toInteger(), length = view["byteLength"].toInteger();
        if (offset % 4) glb.faults.push_back("view " + std::to_string(i) + " starts off a 4-byte boundary");
        if (uint64_t(offset + length) > glb.binary.size()) glb.faults.push_back("view " + std::to_string(i) + " runs past the buffer");
    }
    const QJsonArray accessors = glb.json["accessors"].toArray();
    for (qsizetype i = 0; i < accessors.size(); ++i) {
        const QJsonObject a = accessors[i].toObject();
        const int n = componentsOf(a["type"].toString());
        const std::vector<double> values = glb.accessor(int(i));
        const QJsonArray min = a["min"].toArray(), max = a["max"].toArray();
        if (min.size() != n || max.size() != n) {
            glb.faults.push_back("accessor " + std::to_string(i) + " lacks min or max");
            continue;
        }
        for (int c = 0; c < n; ++c) {
            double low = INFINITY, high = -INFINITY;
            for (size_t k = size_t(c); k < values.size(); k += size_t(n)) low = std::min(low, values[k]), high = std::max(high, values[k]);
            if (low != min[c].toDouble() || high != max[c].toDouble())
                glb.faults.push_back("accessor " + std::to_string(i) + ": min or max differs from the data");
        }
    }
}

}  // namespace

std::vector<double> TGlb::accessor(int index) const {
    const QJsonObject a = at("accessors", index);
    const QJsonObject view = at("bufferViews", a["bufferView"].toInt());
    const int type = a["componentType"].toInt(), n = componentsOf(a["type"].toString());
    const size_t size = size_t(componentBytes(type)), count = size_t(a["count"].toInteger());
    const size_t stride = view.contains("byteStride") ? size_t(view["byteStride"].toInt()) : size * size_t(n);
    const size_t start = size_t(view["byteOffset"].toInteger() + a["byteOffset"].toInteger());
    std::vector<double> out;
    if (start + (count ? (count - 1) * stride + size * size_t(n) : 0) > binary.size()) return out;
    for (size_t e = 0; e < count; ++e)
        for (size_t c = 0; c < size_t(n); ++c) out.push_back(component(binary.data() + start + e * stride + c * size, type));
    return out;
}

std::vector<uint8_t> TGlb::image(int index) const {
    const QJsonObject view = at("bufferViews", at("images", index)["bufferView"].toInt());
    const auto start = binary.begin() + view["byteOffset"].toInteger();
    return std::vector<uint8_t>(start, start + view["byteLength"].toInteger());
}

TGlb ReadGlb(const std::string& path) {
    TGlb glb;
    const std::vector<uint8_t> file = ReadWholeFile(path);
    if (u32(file, 0) != 0x46546C67 || u32(file, 4) != 2 || u32(file, 8) != file.size()) {
        glb.faults.push_back("not a GLB 2 file of its stated length");
        return glb;
    }
    const uint32_t jsonLength = u32(file, 12);
    if (u32(file, 16) != 0x4E4F534A || jsonLength % 4 || 20 + uint64_t(jsonLength) > file.size()) {
        glb.faults.push_back("no JSON chunk padded to 4 bytes");
        return glb;
    }
    glb.json = QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(file.data() + 20), jsonLength)).object();
    const size_t binaryAt = 20 + jsonLength;
    if (binaryAt < file.size()) {
        const uint32_t binaryLength = u32(file, binaryAt);
        if (u32(file, binaryAt + 4) != 0x004E4942 || binaryLength % 4 || binaryAt + 8 + uint64_t(binaryLength) != file.size())
            glb.faults.push_back("no binary chunk padded to 4 bytes");
        else
            glb.binary.assign(file.begin() + long(binaryAt + 8), file.end());
    }
    checkLayout(glb);
    return glb;
}

std::vector<TDrawn> DrawnPrimitives(const TGlb& glb) {
    const QJsonArray nodes = glb.json["nodes"].toArray();
    std::vector<TMatrix> world(size_t(nodes.size()));
    std::vector<int> parents(size_t(nodes.size()), -1);
    std::vector<int> order;
    for (const QJsonValue root : glb.json["scenes"].toArray()[0].toObject()["nodes"].toArray()) order.push_back(root.toInt());
    for (size_t i = 0; i < order.size(); ++i) {
        const int n = order[i];
        const QJsonObject node = nodes[n].toObject();
        const TMatrix local = localMatrix(node);
        world[size_t(n)] = parents[size_t(n)] < 0 ? local : multiply(world[size_t(parents[size_t(n)])], local);
        for (const QJsonValue child : node["children"].toArray()) {
            parents[size_t(child.toInt())] = n;
            order.push_back(child.toInt());
        }
    }
    std::vector<TDrawn> drawn;
    for (int n : order) {
        const QJsonObject node = nodes[n].toObject();
        if (!node.contains("mesh")) continue;
        for (const QJsonValue value : glb.at("meshes", node["mesh"].toInt())["primitives"].toArray()) {
            const QJsonObject primitive = value.toObject(), attributes = primitive["attributes"].toObject();
            TDrawn out;
            out.node = node["name"].toString().toStdString();
            out.parent = parents[size_t(n)];
            out.material = primitive["material"].toInt(-1);
            const std::vector<double> p = glb.accessor(attributes["POSITION"].toInt());
            for (size_t i = 0; i + 2 < p.size(); i += 3) out.positions.push_back(apply(world[size_t(n)], p[i], p[i + 1], p[i + 2]));
            if (attributes.contains("TEXCOORD_0")) {
                const std::vector<double> uv = glb.accessor(attributes["TEXCOORD_0"].toInt());
                for (size_t i = 0; i + 1 < uv.size(); i += 2) out.uvs.push_back({uv[i], uv[i + 1]});
            }
            if (attributes.contains("COLOR_0")) {
                const std::vector<double> c = glb.accessor(attributes["COLOR_0"].toInt());
                for (size_t i = 0; i + 2 < c.size(); i += 3) out.colours.push_back({c[i], c[i + 1], c[i + 2]});
            }
            for (double index : glb.accessor(primitive["indices"].toInt())) out.indices.push_back(uint32_t(index));
            drawn.push_back(std::move(out));
        }
    }
    return drawn;
}

}  // namespace grottix::test
