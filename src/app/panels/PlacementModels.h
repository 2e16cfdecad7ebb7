#pragma once
// The tables of the Lights, Static Meshes, Cameras and Sound Sources panels: one row per record of
// the level's lists (TInspectedLevel), in file order, with the fields each game stores. A column
// none of the level's records fills answers false for kColumnShownRole, so the dock leaves it out:
// a TR1 level's lights show intensity and fade, a TR4 level's colour, hotspot, falloff, length,
// cut-off and direction. A record whose values the file gets wrong carries a warning sign, says what
// is wrong in its tooltip and in the last column, Problem.

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/panels/InspectedLevel.h"
#include "app/panels/Selection.h"

namespace grottix {

// What the status bar and Find call a record: "Light 2 of room 0 (spot)", "Camera 3 (sink)"...;
// empty for a kind that is no record of these lists or an index past its list.
QString PlacementName(const TInspectedLevel& level, TSelection::TKind kind, int index);

class TRecordsModel : public QAbstractTableModel {
public:
    // The role that sorts: numbers for the numeric columns, text for the others.
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;
    void SetLevel(std::shared_ptr<const TInspectedLevel> level);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    virtual int records() const = 0;
    // The headings of the columns before Problem.
    virtual QStringList headings() const = 0;
    // A cell as shown (sorting false) or as sorted; none where the record stores nothing.
    virtual QVariant cell(int row, int column, bool sorting) const = 0;
    virtual const std::string& problem(int row) const = 0;
    // The colour a row shows as a swatch in its colour column, none for none.
    virtual std::optional<QColor> swatch(int) const { return std::nullopt; }
    virtual int colourColumn() const { return -1; }

    std::shared_ptr<const TInspectedLevel> level_;

private:
    QVariant value(int row, int column, bool sorting) const;

    std::vector<bool> filled_;  // per column, whether some row has a value in it
};

class TLightsModel : public TRecordsModel {
public:
    enum TColumn { Room, Index, Kind, Type, X, Y, Z, Colour, Intensity, Fade, In, Out, Length, CutOff, RadiansIn,
                   RadiansOut, Range, Direction, Problem };
    using TRecordsModel::TRecordsModel;

protected:
    int records() const override;
    QStringList headings() const override;
    QVariant cell(int row, int column, bool sorting) const override;
    const std::string& problem(int row) const override;
    std::optional<QColor> swatch(int row) const override;
    int colourColumn() const override { return Colour; }
};

class TStaticsModel : public TRecordsModel {
public:
    enum TColumn { Room, Index, Mesh, Definition, X, Y, Z, Facing, Intensity, Colour, Problem };
    using TRecordsModel::TRecordsModel;

protected:
    int records() const override;
    QStringList headings() const override;
    QVariant cell(int row, int column, bool sorting) const override;
    const std::string& problem(int row) const override;
    std::optional<QColor> swatch(int row) const override;
    int colourColumn() const override { return Colour; }
};

// The cameras, then the fly-by cameras (TR4 and Chronicles).
class TCamerasModel : public TRecordsModel {
public:
    enum TColumn { Index, Kind, Sequence, Point, Room, X, Y, Z, Flags, UsedBy, LookAt, Fov, Roll, Timer, Speed, Problem };
    using TRecordsModel::TRecordsModel;

    // What a row stands for (a camera or a fly-by camera), and the row of the selected one (-1 none).
    TSelectionTarget TargetAt(int row) const;
    int RowOf(const TSelection& selection) const;

protected:
    int records() const override;
    QStringList headings() const override;
    QVariant cell(int row, int column, bool sorting) const override;
    const std::string& problem(int row) const override;
};

class TSoundSourcesModel : public TRecordsModel {
public:
    enum TColumn { Index, Sound, Details, Plays, Flags, Room, X, Y, Z, Problem };
    using TRecordsModel::TRecordsModel;

protected:
    int records() const override;
    QStringList headings() const override;
    QVariant cell(int row, int column, bool sorting) const override;
    const std::string& problem(int row) const override;
};

}  // namespace grottix
