#!/usr/bin/env python3
"""Writes the PAF of an assembly of N contigs laid along five references
(three in ten on the minus strand, one in twenty with a second hit
elsewhere), for plotting whole assemblies.

usage: assembly_gen.py N > file
"""
import random, sys
n = int(sys.argv[1]); rng = random.Random(7)
refs = [("chr%d" % i, 2_000_000 + 400_000 * i) for i in range(1, 6)]
total = sum(l for _, l in refs)
contig = max(1000, total // n)
out = sys.stdout
i = 0
for name, length in refs:
    pos = 0
    while pos + contig <= length and i < n:
        i += 1
        strand = "-" if rng.random() < 0.3 else "+"
        q = "ctg%05d" % i
        qlen = contig
        span = contig - rng.randint(0, contig // 10)
        out.write(f"{q}\t{qlen}\t0\t{span}\t{strand}\t{name}\t{length}\t{pos}\t{pos + span}\t{span}\t{span}\t60\n")
        if rng.random() < 0.05:
            other, olen = refs[rng.randrange(5)]
            p = rng.randrange(olen - 500)
            out.write(f"{q}\t{qlen}\t100\t600\t+\t{other}\t{olen}\t{p}\t{p + 500}\t500\t500\t60\n")
        pos += contig
