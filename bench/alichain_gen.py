#!/usr/bin/env python3
"""Writes N alignment lines between two synthetic sequences of 100 Mbp.

A true forward chain and a shorter backward chain run through the noise: a
tenth of the lines lie on the forward diagonal, a twentieth on a backward
one, and the rest are scattered hits of either orientation.
Lines come sorted by first-sequence begin, like the example data.

usage: alichain_gen.py N [SEED] > file
"""
import random
import sys

LENGTH = 100_000_000


def hit(rng, xb, yb, orientation):
    span = rng.randint(30, 3000)
    drift = rng.randint(-span // 20, span // 20)
    xe = xb + span
    ye = max(yb, yb + span + drift)
    identity = rng.uniform(0.65, 0.98)
    score = int(span * (identity * 100 - 40))
    if rng.random() < 0.2:
        score = f"{score / 10:.1f}"
    return xb, yb, xe, ye, score, orientation


def main():
    n = int(sys.argv[1])
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 1)
    forward = n // 10
    backward = n // 20
    hits = []
    for i in range(forward):
        pos = (i * LENGTH) // forward
        hits.append(hit(rng, pos + 1, pos + rng.randint(1, 500), "+"))
    for i in range(backward):
        pos = (i * LENGTH) // backward
        hits.append(hit(rng, pos + 1, LENGTH - pos - rng.randint(3000, 4000), "-"))
    for _ in range(n - forward - backward):
        hits.append(hit(rng, rng.randint(1, LENGTH), rng.randint(1, LENGTH), rng.choice("+-")))
    hits.sort(key=lambda h: h[0])
    out = sys.stdout
    out.write("##gff-version 2\n# synthetic alignments for timing\n")
    out.write(f"seqA\tgen\tsequence:sequence\t1:1\t{LENGTH}:{LENGTH}\t0\t.\tsynthetic\n")
    lines = []
    for number, (xb, yb, xe, ye, score, orientation) in enumerate(hits, 1):
        lines.append(f"seqA\tgen\talignment\t{xb}:{yb}\t{xe}:{ye}\t{score}\t{orientation}\tali {number}\n")
        if len(lines) >= 100000:
            out.write("".join(lines))
            lines.clear()
    out.write("".join(lines))


if __name__ == "__main__":
    main()
