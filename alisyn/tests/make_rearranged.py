"""Writes the first 1.2 Mbp of a genome (FASTA, gzip) as "ref" and a copy
of it with planted events as "rearranged": 200,001-400,000 inverted in
place, 600,001-750,000 moved after 750,001-1,000,000, and a second copy of
450,001-500,000 appended at 1,200,001-1,250,000.
Usage: make_rearranged.py GENOME.fa.gz REF.fa REARRANGED.fa"""
import gzip
import sys

src, ref_out, query_out = sys.argv[1:4]
seq = []
with gzip.open(src, 'rt') as f:
    next(f)
    for line in f:
        seq.append(line.strip())
        if sum(map(len, seq)) > 1_200_000: break
g = ''.join(seq)[:1_200_000].upper()
comp = str.maketrans('ACGTN', 'TGCAN')
rc = lambda s: s.translate(comp)[::-1]
A, B, C, D, E, F = g[:200_000], g[200_000:400_000], g[400_000:600_000], g[600_000:750_000], g[750_000:1_000_000], g[1_000_000:]
q = A + rc(B) + C + E + D + F + C[50_000:100_000]
def write(path, name, s):
    with open(path, 'w') as out:
        out.write('>' + name + '\n')
        for i in range(0, len(s), 80): out.write(s[i:i + 80] + '\n')
write(ref_out, 'ref', g)
write(query_out, 'rearranged', q)
