#include "app/export/GltfMaterials.h"

#include <memory>
#include <string>

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>

#include "app/export/GltfDocument.h"
#include "codecs/Bitmap.h"
#include "level/TombRaiderLevel.h"
#include "storage/Exceptions.h"

namespace grottix {

namespace {

constexpr int kNearest = 9728, kLinear = 9729;
constexpr double kBlendedOpacity = 0.5;  // the games add such faces to what lies behind

bool anyBlack(const TBitmap& tile) {
    for (int y = 0; y < tile.Height(); ++y) {
        const uint8_t* row = tile.ScanLine(y);
        for (int x = 0; x < tile.Width(); ++x, row += 3)
            if ((row[0] | row[1] | row[2]) == 0) return true;
    }
    return false;
}

// Black texels become transparent; every other texel is opaque.
QImage keyedImage(const TBitmap& tile) {
    QImage image(tile.Width(), tile.Height(), QImage::Format_RGBA8888);
    for (int y = 0; y < tile.Height(); ++y) {
        const uint8_t* in = tile.ScanLine(y);
        uint8_t* out = image.scanLine(y);
        for (int x = 0; x < tile.Width(); ++x, in += 3, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = (in[0] | in[1] | in[2]) ? 255 : 0;
        }
    }
    return image;
}

QJsonObject unlitMaterial(const std::string& name) {
    return QJsonObject{{"name", QString::fromStdString(name)},
                       {"pbrMetallicRoughness", QJsonObject{{"metallicFactor", 0}, {"roughnessFactor", 1}}},
                       {"doubleSided", true},
                       {"extensions", QJsonObject{{"KHR_materials_unlit", QJsonObject{}}}}};
}

}  // namespace

std::vector<uint8_t> EncodeTilePng(const TBitmap& tile, bool& keyed) {
    keyed = anyBlack(tile);
    const QImage image = keyed ? keyedImage(tile)
                               : QImage(tile.ScanLine(0), tile.Width(), tile.Height(), tile.BytesPerRow(), QImage::Format_BGR888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) throw EGrottixError("Cannot write the PNG image");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void TGltfMaterials::EncodeTiles(const std::set<int>& tiles, const std::function<void(double)>& progress) {
    size_t done = 0;
    for (int tile : tiles) {
        if (const std::unique_ptr<TBitmap> bitmap = level_.GetTileBitmap(std::to_string(tile + 1))) {
            TTile& encoded = tiles_[tile];
            encoded.png = EncodeTilePng(*bitmap, encoded.keyed);
        }
        if (progress) progress(double(++done) / double(tiles.size()));
    }
}

int TGltfMaterials::texture(TGltfDocument& document, int tile, TTile& encoded) {
    if (encoded.texture >= 0) return encoded.texture;
    if (sampler_ < 0) {
        const int filter = filtering_ ? kLinear : kNearest;
        document.Samplers.append(QJsonObject{{"magFilter", filter}, {"minFilter", filter}});
        sampler_ = int(document.Samplers.size() - 1);
    }
    const int image = document.AddPng(encoded.png);
    document.Textures.append(QJsonObject{{"name", QString("tile %1").arg(tile + 1)}, {"sampler", sampler_}, {"source", image}});
    encoded.texture = int(document.Textures.size() - 1);
    return encoded.texture;
}

int TGltfMaterials::Material(TGltfDocument& document, int tile, bool blended) {
    const auto encoded = tiles_.find(tile);
    if (encoded == tiles_.end()) {
        tile = -1;
        blended = false;
    }
    const auto known = materials_.find({tile, blended});
    if (known != materials_.end()) return known->second;
    if (document.ExtensionsUsed.isEmpty()) document.ExtensionsUsed.append("KHR_materials_unlit");

    QJsonObject material;
    if (tile < 0) {
        material = unlitMaterial("vertex colours");
    } else {
        material = unlitMaterial("tile " + std::to_string(tile + 1) + (blended ? " blended" : ""));
        QJsonObject pbr = material["pbrMetallicRoughness"].toObject();
        pbr["baseColorTexture"] = QJsonObject{{"index", texture(document, tile, encoded->second)}};
        if (blended) pbr["baseColorFactor"] = QJsonArray{1, 1, 1, kBlendedOpacity};
        material["pbrMetallicRoughness"] = pbr;
        if (blended) material["alphaMode"] = "BLEND";
        else if (encoded->second.keyed) material["alphaMode"] = "MASK";
    }
    document.Materials.append(material);
    return materials_[{tile, blended}] = int(document.Materials.size() - 1);
}

}  // namespace grottix
