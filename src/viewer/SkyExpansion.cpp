#include <cstring>

#include "viewer/SkyBlobs.h"
#include "codecs/zBitmap.h"
#include "storage/BinaryData.h"

namespace grottix {

namespace {
constexpr size_t kSkyVertexBytes = 10240;

// The blob's content, written raw into a memory stream and rewound.
TMemoryStream expand(std::span<const uint8_t> record) {
    TBinaryData data;
    data.LoadFromBlob(record);
    TMemoryStream stream;
    data.WriteData(stream, false);
    stream.SetPosition(0);
    return stream;
}
}  // namespace

std::vector<TD3DLVertex> ExpandSkyVertices() {
    TMemoryStream stream = expand(SkyGeometryRecord());
    std::vector<TD3DLVertex> vertices(kSkyVertexBytes / sizeof(TD3DLVertex));
    stream.ReadBuffer(vertices.data(), int64_t(kSkyVertexBytes));
    return vertices;
}

TBitmap ExpandSkyPicture() {
    TMemoryStream stream = expand(SkyTextureRecord());
    TZBitmap picture;
    picture.LoadFromStream(stream);
    return picture;
}

}  // namespace grottix
