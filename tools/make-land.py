#!/usr/bin/env python3
"""Converts Natural Earth's 1:110m land (TopoJSON, as the npm package
world-atlas ships it in land-110m.json) into the map's land file.

    npm pack world-atlas && tar xzf world-atlas-*.tgz
    tools/make-land.py package/land-110m.json ui/resources/land-110m.bin

Output, little-endian: "OLND", u32 version (1), u32 ring count, then per
ring a u32 point count and that many (f32 longitude, f32 latitude) pairs in
degrees (a ring that crosses the antimeridian runs on past 180).
Rings of a polygon follow each other (outer ring first); the map
fills them with the odd-even rule, which makes holes of the inner rings.
"""
import json
import struct
import sys


def decode_arcs(topology):
    transform = topology.get("transform")
    arcs = []
    for arc in topology["arcs"]:
        points = []
        x = y = 0
        for p in arc:
            if transform:
                x += p[0]
                y += p[1]
                sx, sy = transform["scale"]
                tx, ty = transform["translate"]
                points.append((x * sx + tx, y * sy + ty))
            else:
                points.append((p[0], p[1]))
        arcs.append(points)
    return arcs


def ring_points(arcs, ring):
    points = []
    for index in ring:
        arc = arcs[index] if index >= 0 else list(reversed(arcs[~index]))
        # Consecutive arcs share their joining point.
        points.extend(arc if not points else arc[1:])
    return points


def unwrap(points):
    """A ring that crosses the antimeridian goes on past 180 degrees instead
    of jumping to the other edge; one that circles a pole (Antarctica) is
    closed along the pole."""
    out = [points[0]]
    shift = 0.0
    for (lon0, _), (lon, lat) in zip(points, points[1:]):
        if lon - lon0 > 180:
            shift -= 360
        elif lon0 - lon > 180:
            shift += 360
        out.append((lon + shift, lat))
    # The ring as a whole starts within -180...180.
    west = min(p[0] for p in out)
    while west < -180:
        out = [(lon + 360, lat) for lon, lat in out]
        west += 360
    turn = out[-1][0] - out[0][0]
    if abs(turn) > 180:
        pole = -90.0 if sum(p[1] for p in out) < 0 else 90.0
        out.append((out[-1][0], pole))
        out.append((out[0][0], pole))
    return out


def rings_of(geometry):
    kind = geometry["type"]
    if kind == "Polygon":
        return list(geometry["arcs"])
    if kind == "MultiPolygon":
        return [ring for polygon in geometry["arcs"] for ring in polygon]
    if kind == "GeometryCollection":
        return [r for g in geometry["geometries"] for r in rings_of(g)]
    return []


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make-land.py land-110m.json OUTPUT")
    with open(sys.argv[1], encoding="utf-8") as f:
        topology = json.load(f)
    arcs = decode_arcs(topology)
    rings = []
    for obj in topology["objects"].values():
        for ring in rings_of(obj):
            points = ring_points(arcs, ring)
            if len(points) >= 3:
                rings.append(unwrap(points))
    out = bytearray(b"OLND")
    out += struct.pack("<II", 1, len(rings))
    for points in rings:
        out += struct.pack("<I", len(points))
        for lon, lat in points:
            out += struct.pack("<ff", lon, lat)
    with open(sys.argv[2], "wb") as f:
        f.write(out)
    total = sum(len(r) for r in rings)
    print(f"{len(rings)} rings, {total} points, {len(out)} bytes -> {sys.argv[2]}")


if __name__ == "__main__":
    main()
