#!/usr/bin/env python3
"""Writes N alignment lines between two synthetic sequences of 100 Mbp, M of
them on the forward diagonal, and a chain report naming those M as its
members (as alichain writes one), for timing aliplot on a large chain.

usage: aliplot_gen.py N M ALIGNMENTS REPORT [SEED]
"""
import random
import sys

LENGTH = 100_000_000


def main():
    n, m = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(int(sys.argv[5]) if len(sys.argv) > 5 else 1)
    hits = []
    for i in range(m):
        pos = (i * LENGTH) // m + 1
        span = rng.randint(30, 150)
        hits.append((pos, pos + rng.randint(0, 50), span, "+", True))
    for _ in range(n - m):
        hits.append((rng.randint(1, LENGTH - 3000), rng.randint(1, LENGTH - 3000), rng.randint(30, 3000),
                     rng.choice("+-"), False))
    hits.sort(key=lambda h: h[0])
    members, member_lines = [], []
    with open(sys.argv[3], "w") as out:
        out.write("##gff-version 2\n")
        out.write(f"seqA\tgen\tsequence:sequence\t1:1\t{LENGTH}:{LENGTH}\t0\t.\tseq1 \"seqA\"; seq2 \"seqB\"\n")
        for number, (xb, yb, span, strand, member) in enumerate(hits, 1):
            line = f"seqA\tgen\talignment\t{xb}:{yb}\t{xb + span}:{yb + span}\t{span * 40}\t{strand}\tali {number}\n"
            out.write(line)
            if member:
                members.append(str(number))
                member_lines.append(line)
    with open(sys.argv[4], "w") as report:
        report.write(f"{n}\n##gff-version 2\n##source-version alichain 0.0\n##date x\n##\n##alichain gen\n")
        report.write(f"##Number of used alignments:\t{m}\n##Score sum of these alignments: 1\n")
        report.write("##Used alignments:\n## " + " ".join(members) + "\n##\n")
        report.write("".join(member_lines))


if __name__ == "__main__":
    main()
