#include "app/panels/PlacementModels.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/panels/LevelTableDock.h"

namespace grottix {

namespace {

using TKind = TSelection::TKind;

// A stored float as text: "not a number" and "infinite" said as such.
QString floatText(double value) {
    if (std::isnan(value)) return QObject::tr("not a number");
    if (std::isinf(value)) return value > 0 ? QObject::tr("infinite") : QObject::tr("-infinite");
    return QString::number(value, 'g', 6);
}

// A value that sorts (a value that is not a number first) or shows.
QVariant floatCell(const std::optional<double>& value, bool sorting) {
    if (!value) return {};
    if (sorting) return std::isnan(*value) ? -std::numeric_limits<double>::infinity() : *value;
    return floatText(*value);
}

// One value, or two where the game stores two ("4096 / 2048"), sorted by the first.
QVariant pairCell(const std::optional<int64_t>& first, const std::optional<int64_t>& second, bool sorting) {
    if (!first) return {};
    if (sorting) return qlonglong(*first);
    return second ? QStringLiteral("%1 / %2").arg(*first).arg(*second) : QVariant(qlonglong(*first));
}

QString triple(const std::array<double, 3>& v) {
    return QStringLiteral("%1, %2, %3").arg(floatText(v[0]), floatText(v[1]), floatText(v[2]));
}

QString hex(unsigned value) { return QStringLiteral("0x%1").arg(value, 4, 16, QLatin1Char('0')); }

int channel(double value) { return std::isnan(value) ? 0 : int(std::lround(std::clamp(value, 0.0, 255.0))); }

// A 15-bit colour's channels, 0-31 each: red bits 10-14, green 5-9, blue 0-4.
std::array<int, 3> channels15(uint16_t colour) { return {(colour >> 10) & 31, (colour >> 5) & 31, colour & 31}; }

QString cameraKind(const TLevelCamera& c) {
    if (c.camera && c.sink) return QObject::tr("camera, sink");
    if (c.camera) return QObject::tr("camera");
    if (c.sink) return QObject::tr("sink");
    return QObject::tr("unused");
}

QString cameraUses(const TLevelCamera& c) {
    QStringList uses;
    // A sink keeps the current's strength where a camera keeps its room.
    if (c.sink && !c.camera) uses << QObject::tr("strength %1").arg(c.room);
    for (const TCameraUse& use : c.uses)
        uses << QObject::tr("%1 at room %2, square %3, %4")
                    .arg(use.sink ? QObject::tr("sink") : QObject::tr("camera"))
                    .arg(use.room)
                    .arg(use.x)
                    .arg(use.z);
    return uses.join(QStringLiteral("; "));
}

QString plays(const TSoundSource& s) {
    if (s.primary && s.alternate) return QObject::tr("always");
    if (s.primary) return QObject::tr("unflipped");
    if (s.alternate) return QObject::tr("flipped");
    return QObject::tr("never");
}

double degrees(double turn65536) { return turn65536 * 360.0 / 65536.0; }

}  // namespace

QString PlacementName(const TInspectedLevel& level, TSelection::TKind kind, int index) {
    const auto fits = [index](const auto& list) { return index >= 0 && size_t(index) < list.size(); };
    switch (kind) {
        case TKind::Light:
            if (!fits(level.Lights)) break;
            return QObject::tr("Light %1 of room %2 (%3)")
                .arg(level.Lights[size_t(index)].index)
                .arg(level.Lights[size_t(index)].room)
                .arg(QString::fromLatin1(LightKindName(level.Lights[size_t(index)].kind)));
        case TKind::Static:
            if (!fits(level.Statics)) break;
            return QObject::tr("Static mesh %1 of room %2 (mesh %3)")
                .arg(level.Statics[size_t(index)].index)
                .arg(level.Statics[size_t(index)].room)
                .arg(level.Statics[size_t(index)].meshId);
        case TKind::Camera:
            if (!fits(level.Cameras)) break;
            return QObject::tr("Camera %1 (%2)").arg(index).arg(cameraKind(level.Cameras[size_t(index)]));
        case TKind::FlybyCamera:
            if (!fits(level.FlybyCameras)) break;
            return QObject::tr("Fly-by camera %1 (sequence %2, point %3)")
                .arg(index)
                .arg(level.FlybyCameras[size_t(index)].sequence)
                .arg(level.FlybyCameras[size_t(index)].number);
        case TKind::SoundSource:
            if (!fits(level.SoundSources)) break;
            return QObject::tr("Sound source %1 (sound %2)").arg(index).arg(level.SoundSources[size_t(index)].sound);
        default: break;
    }
    return {};
}

void TRecordsModel::SetLevel(std::shared_ptr<const TInspectedLevel> level) {
    beginResetModel();
    level_ = std::move(level);
    filled_.assign(size_t(columnCount()), false);
    const int rows = level_ ? records() : 0;
    for (int column = 0; column < columnCount(); ++column)
        for (int row = 0; row < rows && !filled_[size_t(column)]; ++row)
            filled_[size_t(column)] = value(row, column, true).isValid();
    endResetModel();
}

int TRecordsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() || !level_ ? 0 : records(); }

int TRecordsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(headings().size()) + 1; }

QVariant TRecordsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !level_ || index.row() >= records()) return {};
    const int row = index.row(), column = index.column();
    const std::string& wrong = problem(row);
    const bool problemColumn = column == columnCount() - 1;
    switch (role) {
        case Qt::DisplayRole:
        case SortRole: return value(row, column, role == SortRole);
        case Qt::ToolTipRole:
            return wrong.empty() ? QVariant() : QVariant(tr("Problem: %1").arg(QString::fromStdString(wrong)));
        case Qt::DecorationRole:
            if (column == colourColumn()) {
                const std::optional<QColor> colour = swatch(row);
                return colour ? QVariant::fromValue(*colour) : QVariant();
            }
            // The warning sign needs the widgets' style; a model without one shows the text alone.
            if (column == 0 && !wrong.empty() && qobject_cast<QApplication*>(QCoreApplication::instance()))
                return QVariant::fromValue(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
            return {};
        case Qt::TextAlignmentRole: {
            const QVariant shown = problemColumn ? QVariant() : cell(row, column, false);
            const bool number = shown.typeId() == QMetaType::Int || shown.typeId() == QMetaType::LongLong ||
                                shown.typeId() == QMetaType::UInt || shown.typeId() == QMetaType::Double;
            return number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        }
        default: return {};
    }
}

QVariant TRecordsModel::value(int row, int column, bool sorting) const {
    if (column < columnCount() - 1) return cell(row, column, sorting);
    const std::string& wrong = problem(row);
    return wrong.empty() ? QVariant() : QVariant(QString::fromStdString(wrong));
}

QVariant TRecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == kColumnShownRole) return size_t(section) < filled_.size() ? QVariant(bool(filled_[size_t(section)])) : QVariant();
    if (role != Qt::DisplayRole) return {};
    return section < columnCount() - 1 ? headings()[section] : tr("Problem");
}

// Lights

int TLightsModel::records() const { return int(level_->Lights.size()); }

QStringList TLightsModel::headings() const {
    return {tr("Room"), tr("#"),      tr("Kind"),      tr("Type"),       tr("X"),          tr("Y"),
            tr("Z"),    tr("Colour"), tr("Intensity"), tr("Fade"),       tr("Hotspot"),    tr("Falloff"),
            tr("Length"), tr("Cut-off"), tr("Radians in"), tr("Radians out"), tr("Range"), tr("Direction")};
}

QVariant TLightsModel::cell(int row, int column, bool sorting) const {
    const TRoomLight& l = level_->Lights[size_t(row)];
    switch (column) {
        case Room: return l.room;
        case Index: return qlonglong(l.index);
        case Kind: return QString::fromLatin1(LightKindName(l.kind));
        case Type: return l.type >= 0 ? QVariant(l.type) : QVariant();
        case X: return l.x;
        case Y: return l.y;
        case Z: return l.z;
        case Colour: {
            if (!l.colour) return {};
            const auto& c = *l.colour;
            if (sorting) return channel(c[0]) * 65536 + channel(c[1]) * 256 + channel(c[2]);
            // Bytes in TR3 and TR4, floats from 0 to 1 in Chronicles.
            if (level_->VersionCode >= 7) return triple(c);
            return QStringLiteral("%1, %2, %3").arg(int(c[0])).arg(int(c[1])).arg(int(c[2]));
        }
        case Intensity: return pairCell(l.intensity, l.intensity2, sorting);
        case Fade: return pairCell(l.fade, l.fade2, sorting);
        case In: return floatCell(l.in, sorting);
        case Out: return floatCell(l.out, sorting);
        case Length: return floatCell(l.length, sorting);
        case CutOff: return floatCell(l.cutOff, sorting);
        case RadiansIn: return floatCell(l.radiansIn, sorting);
        case RadiansOut: return floatCell(l.radiansOut, sorting);
        case Range: return floatCell(l.range, sorting);
        case Direction: return l.direction ? QVariant(triple(*l.direction)) : QVariant();
        default: return {};
    }
}

const std::string& TLightsModel::problem(int row) const { return level_->Lights[size_t(row)].problem; }

std::optional<QColor> TLightsModel::swatch(int row) const {
    const auto& colour = level_->Lights[size_t(row)].colour;
    if (!colour) return std::nullopt;
    const double k = level_->VersionCode >= 7 ? 255 : 1;
    return QColor(channel((*colour)[0] * k), channel((*colour)[1] * k), channel((*colour)[2] * k));
}

// Static meshes

int TStaticsModel::records() const { return int(level_->Statics.size()); }

QStringList TStaticsModel::headings() const {
    return {tr("Room"), tr("#"), tr("Mesh"), tr("Definition"), tr("X"), tr("Y"), tr("Z"), tr("Facing"), tr("Intensity"), tr("Colour")};
}

QVariant TStaticsModel::cell(int row, int column, bool sorting) const {
    const TRoomStatic& s = level_->Statics[size_t(row)];
    switch (column) {
        case Room: return s.room;
        case Index: return qlonglong(s.index);
        case Mesh: return int(s.meshId);
        case Definition: return sorting || s.definition >= 0 ? QVariant(s.definition) : QVariant(tr("none"));
        case X: return s.x;
        case Y: return s.y;
        case Z: return s.z;
        case Facing: return sorting ? QVariant(s.angle) : QVariant(QString::number(s.angle, 'f', 1));
        case Intensity:
            return pairCell(s.intensity ? std::optional<int64_t>(*s.intensity) : std::nullopt,
                            s.intensity2 ? std::optional<int64_t>(*s.intensity2) : std::nullopt, sorting);
        case Colour: {
            if (!s.colour) return {};
            if (sorting) return int(*s.colour & 0x7FFF);
            const auto c = channels15(*s.colour);
            return QStringLiteral("%1, %2, %3").arg(c[0]).arg(c[1]).arg(c[2]);
        }
        default: return {};
    }
}

const std::string& TStaticsModel::problem(int row) const { return level_->Statics[size_t(row)].problem; }

std::optional<QColor> TStaticsModel::swatch(int row) const {
    const auto& colour = level_->Statics[size_t(row)].colour;
    if (!colour) return std::nullopt;
    const auto c = channels15(*colour);
    return QColor(c[0] * 255 / 31, c[1] * 255 / 31, c[2] * 255 / 31);
}

// Cameras

int TCamerasModel::records() const { return int(level_->Cameras.size() + level_->FlybyCameras.size()); }

TSelectionTarget TCamerasModel::TargetAt(int row) const {
    if (!level_ || row < 0) return {};
    const int cameras = int(level_->Cameras.size());
    return row < cameras ? TSelectionTarget{TKind::Camera, row} : TSelectionTarget{TKind::FlybyCamera, row - cameras};
}

int TCamerasModel::RowOf(const TSelection& selection) const {
    if (!level_) return -1;
    if (selection.Index(TKind::Camera) >= 0) return selection.Index(TKind::Camera);
    const int flyby = selection.Index(TKind::FlybyCamera);
    return flyby >= 0 ? int(level_->Cameras.size()) + flyby : -1;
}

QStringList TCamerasModel::headings() const {
    return {tr("#"),     tr("Kind"),    tr("Sequence"), tr("Point"),   tr("Room"), tr("X"),     tr("Y"),    tr("Z"),
            tr("Flags"), tr("Used by"), tr("Looks at"), tr("Field of view"), tr("Roll"), tr("Timer"), tr("Speed")};
}

QVariant TCamerasModel::cell(int row, int column, bool sorting) const {
    const size_t cameras = level_->Cameras.size();
    if (size_t(row) < cameras) {
        const TLevelCamera& c = level_->Cameras[size_t(row)];
        switch (column) {
            case Index: return qlonglong(c.index);
            case Kind: return cameraKind(c);
            case Room: return c.sink && !c.camera ? QVariant() : QVariant(int(c.room));
            case X: return c.x;
            case Y: return c.y;
            case Z: return c.z;
            case Flags: return sorting ? QVariant(int(c.flags)) : QVariant(hex(c.flags));
            case UsedBy: {
                const QString uses = cameraUses(c);
                return uses.isEmpty() ? QVariant() : QVariant(uses);
            }
            default: return {};
        }
    }
    const TFlybyCamera& f = level_->FlybyCameras[size_t(row) - cameras];
    switch (column) {
        case Index: return qlonglong(f.index);
        case Kind: return tr("fly-by");
        case Sequence: return int(f.sequence);
        case Point: return int(f.number);
        case Room: return qlonglong(f.room);
        case X: return f.x;
        case Y: return f.y;
        case Z: return f.z;
        case Flags: return sorting ? QVariant(int(f.flags)) : QVariant(hex(f.flags));
        case LookAt:
            return sorting ? QVariant(qlonglong(f.lookAt[0])) : QVariant(QStringLiteral("%1, %2, %3").arg(f.lookAt[0]).arg(f.lookAt[1]).arg(f.lookAt[2]));
        case Fov: return sorting ? QVariant(int(f.fov)) : QVariant(QString::number(degrees(f.fov), 'f', 1));
        case Roll: return sorting ? QVariant(int(f.roll)) : QVariant(QString::number(degrees(f.roll), 'f', 1));
        case Timer: return int(f.timer);
        case Speed: return int(f.speed);
        default: return {};
    }
}

const std::string& TCamerasModel::problem(int row) const {
    const size_t cameras = level_->Cameras.size();
    return size_t(row) < cameras ? level_->Cameras[size_t(row)].problem : level_->FlybyCameras[size_t(row) - cameras].problem;
}

// Sound sources

int TSoundSourcesModel::records() const { return int(level_->SoundSources.size()); }

QStringList TSoundSourcesModel::headings() const {
    return {tr("#"), tr("Sound"), tr("Details"), tr("Plays"), tr("Flags"), tr("Room"), tr("X"), tr("Y"), tr("Z")};
}

QVariant TSoundSourcesModel::cell(int row, int column, bool sorting) const {
    const TSoundSource& s = level_->SoundSources[size_t(row)];
    switch (column) {
        case Index: return qlonglong(s.index);
        case Sound: return int(s.sound);
        case Details: return sorting || s.details >= 0 ? QVariant(s.details) : QVariant(tr("none"));
        case Plays: return plays(s);
        case Flags: return sorting ? QVariant(int(s.flags)) : QVariant(hex(s.flags));
        case Room: {
            const int room = size_t(row) < level_->SoundSourceRooms.size() ? level_->SoundSourceRooms[size_t(row)] : -1;
            return sorting || room >= 0 ? QVariant(room) : QVariant();
        }
        case X: return s.x;
        case Y: return s.y;
        case Z: return s.z;
        default: return {};
    }
}

const std::string& TSoundSourcesModel::problem(int row) const { return level_->SoundSources[size_t(row)].problem; }

}  // namespace grottix
