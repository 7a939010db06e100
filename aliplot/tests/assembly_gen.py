#!/usr/bin/env python3
"""Writes the PAF of an assembly of N contigs laid along five references
(three in ten on the minus strand, one in twenty with a second hit
elsewhere), for plotting whole assemblies. With --rearranged some contigs
carry planted events: every ninth (from the fifth) an inverted middle
third, every eleventh (from the seventh) a last third that lies where the
contig two before misses its own last third (a translocation), and every thirteenth (from the ninth) a tail that copies the
start of the contig before it.

usage: assembly_gen.py N [--rearranged] > file
"""
import random, sys
n = int(sys.argv[1]); rearranged = "--rearranged" in sys.argv[2:]; rng = random.Random(7)
refs = [("chr%d" % i, 2_000_000 + 400_000 * i) for i in range(1, 6)]
total = sum(l for _, l in refs)
contig = max(1000, total // n)
out = sys.stdout


def hit(q, qlen, qb, qe, strand, name, length, rb, re):
    """One PAF line, with 94 to 100% identity by the contig's number."""
    span = qe - qb
    matches = span - span * (int(q[3:]) % 7) // 100
    out.write(f"{q}\t{qlen}\t{qb}\t{qe}\t{strand}\t{name}\t{length}\t{rb}\t{re}\t{matches}\t{span}\t60\n")


def pieces(i, strand, span):
    """The contig's pieces along its reference: (query begin, end, strand)."""
    if not (rearranged and i % 9 == 4):
        return [(0, span, strand)]
    third = span // 3
    other = "-" if strand == "+" else "+"
    return [(0, third, strand), (third, 2 * third, other), (2 * third, span, strand)]


# Each contig's place: its reference and where its stretch begins.
tiles = [None]
for name, length in refs:
    for pos in range(0, length - contig + 1, contig):
        tiles.append((name, length, pos))
moved_to = {}  # contig -> the contig whose missing last third it holds
if rearranged:
    moved_to = {i: i - 2 for i in range(7, min(n, len(tiles) - 1) + 1, 11)}
shortened = set(moved_to.values())

i = 0
previous = None  # the last contig's reference, reference start and strand
for name, length in refs:
    pos = 0
    while pos + contig <= length and i < n:
        i += 1
        strand = "-" if rng.random() < 0.3 else "+"
        q = "ctg%05d" % i
        qlen = contig + (contig // 10 if rearranged and i % 13 == 9 else 0)
        span = contig - rng.randint(0, contig // 10)
        moved = i in moved_to
        kept = span * 2 // 3 if moved or i in shortened else span
        for qb, qe, s in pieces(i, strand, kept):
            # On the minus strand the query runs backwards along the reference.
            rb, re = (pos + qb, pos + qe) if strand == "+" else (pos + kept - qe, pos + kept - qb)
            hit(q, qlen, qb, qe, s, name, length, rb, re)
        if moved:
            other, olen, tile = tiles[moved_to[i]]
            p = tile + contig - (span - kept)
            hit(q, qlen, kept, span, "+", other, olen, p, p + span - kept)
        if rearranged and i % 13 == 9 and previous:
            pname, plength, ppos = previous
            hit(q, qlen, contig, qlen, "+", pname, plength, ppos, ppos + contig // 10)
        if rng.random() < 0.05:
            other, olen = refs[rng.randrange(5)]
            p = rng.randrange(olen - 500)
            hit(q, qlen, 100, 600, "+", other, olen, p, p + 500)
        previous = (name, length, pos)
        pos += contig
