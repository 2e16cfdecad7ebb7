#!/usr/bin/env python3
"""Turns a table of object slots ("type<TAB>slot<TAB>origin" rows, '#' comment and header lines)
into the "type name" lines the viewer shows (src/level/objects/Tr*Objects.inc), in the words of the
TR1-TR3 lists: sentence case, numbers apart ("PUZZLE_ITEM2" -> "Puzzle item 2"), a pickup's "_ITEM"
dropped ("UZI_AMMO_ITEM" -> "Uzi ammo"), an inventory model marked (menu), and a "_MIP" slot named
after the slot before it with " (far model)".

    tools/object_names/slot_names.py src/level/objects/Tr4Slots.tsv "Tomb Raider: The Last Revelation" \
        > src/level/objects/Tr4Objects.inc
"""
import re
import sys

# Words that are not written in lower case, or not as the slot spells them.
WORDS = {
    "AI": "AI", "SAS": "SAS", "SWAT": "SWAT", "HK": "HK", "PC": "PC", "DC": "DC", "H": "H", "V": "V",
    "X1": "X1", "X2": "X2", "UW": "underwater", "XRAY": "X-ray", "POS": "position", "ANIM": "animation",
    "LARA": "Lara", "LARSON": "Larson", "PIERRE": "Pierre", "AHMET": "Ahmet", "SETH": "Seth", "SETHA": "Setha",
    "HORUS": "Horus", "IRIS": "Iris", "ROME": "Rome", "ROMAN": "Roman", "TEMPLAR": "Templar", "JOBY": "Joby",
    "UZI": "Uzi", "UZIS": "Uzis",
    "BIGMEDI": "large medipack", "SMALLMEDI": "small medipack", "MEMCARD": "memory card",
    "LASERSIGHT": "laser sight", "SIXSHOOTER": "six-shooter", "ROLLINGBALL": "rolling ball",
    "ROLLINGBARREL": "rolling barrel", "WATERFALLMIST": "waterfall mist", "WATERFALLSS": "waterfall SS",
    "GUNSHELL": "gun shell", "SHOTGUNSHELL": "shotgun shell", "ONEBLOCK": "one-block",
    "TWOBLOCK": "two-block", "TWOGUN": "two-gun", "4BLADE": "4-blade", "SPIKEY": "spiky",
    "PUSHPULL": "push-pull", "FIREROPE": "fire rope", "POLEROPE": "pole rope", "SPIKEBALL": "spike ball",
    "FISHTANK": "fish tank", "MESHSWAP": "mesh swap", "WILLOWISP": "will-o'-the-wisp",
}
# Two slot words that read as one.
PAIRS = {("VON", "CROY"): "Von Croy", ("JEAN", "YVES"): "Jean-Yves", ("SUB", "MARINE"): "submarine",
         ("KEY", "HOLE"): "keyhole", ("FROG", "MAN"): "frogman", ("STAR", "WARS"): "Star Wars"}
# Rows that name no object: the count of slots some tables end with.
NOT_OBJECTS = {"NUMBER_OBJECTS"}


def words(slot):
    parts = slot.split("_")
    menu = len(parts) >= 2 and parts[-2:] == ["INV", "ITEM"]
    if menu:
        parts = parts[:-2]
    elif len(parts) > 1 and parts[-1] == "ITEM":
        parts = parts[:-1]
    tokens = []
    for part in parts:
        m = re.fullmatch(r"([A-Z]+?)(\d+)", part)
        tokens += [m.group(1), m.group(2)] if m and part not in WORDS else [part]
    out = []
    i = 0
    while i < len(tokens):
        if tuple(tokens[i:i + 2]) in PAIRS:
            out.append(PAIRS[tuple(tokens[i:i + 2])])
            i += 2
        else:
            out.append(WORDS.get(tokens[i], tokens[i].lower()))
            i += 1
    text = " ".join(out)
    text = text[0].upper() + text[1:]
    return text + (" (menu)" if menu else "")


def main():
    path, game = sys.argv[1], sys.argv[2]
    names = {}
    previous = None
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        if not line or line.startswith("#") or line.startswith("type\t"):
            continue
        number, slot = line.split("\t")[:2]
        if slot in NOT_OBJECTS:
            continue
        if slot.endswith("_MIP"):
            if previous is None or previous[0] != slot[:-4]:
                sys.exit(f"{path}: {slot} does not follow its slot")
            name = previous[1] + " (far model)"
        else:
            name = words(slot)
        if name in names.values():
            sys.exit(f"{path}: two types would be called {name}")
        names[int(number)] = name
        previous = (slot, name)
    print(f'// {game}: "type name" lines, made from {path.split("/")[-1]} by tools/object_names/slot_names.py.')
    print("// Inventory models are marked (menu); a far model is the far-away model of the slot before it.")
    print('R"(', end="")
    print("\n".join(f"{number} {name}" for number, name in sorted(names.items())))
    print(')"')


if __name__ == "__main__":
    main()
