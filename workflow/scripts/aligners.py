"""The commands of a row's split step (see rules/split.smk): the row's
aligner on its FASTA pair, then aliconv --split; or mumfind --split, which
does both. Each step is an argument list, the file its standard output goes
to (None: the log) and, for an aligner, the file it writes its alignments
to."""

import os

# Aligners a row may name: the program, its arguments before the row's
# options, and the format of what it writes. minimap2 writes CIGARs (-c) so
# that aliconv has the alignments' matches; it runs on two threads.
KNOWN = {
    "minimap2-asm5": ("minimap2", ["-c", "-x", "asm5"], "paf"),
    "minimap2-asm20": ("minimap2", ["-c", "-x", "asm20"], "paf"),
    "nucmer": ("nucmer", [], "delta"),
}
THREADS = {"minimap2": 2}


def threads(aligner):
    program = KNOWN[aligner][0] if aligner in KNOWN else aligner
    return THREADS.get(program, 1)


def aligned_file(aligner, folder, generic_suffix):
    """Where the aligner's alignments land; None for mumfind, which splits
    them itself."""
    if aligner == "mumfind":
        return None
    suffix = KNOWN[aligner][2] if aligner in KNOWN else generic_suffix
    return os.path.join(folder, f"aligned.{suffix}")


def aligner_step(aligner, options, tool, reference, query, aligned):
    if aligner not in KNOWN:
        # Any other aligner writes its alignments to standard output.
        return {"argv": [tool(aligner), *options, reference, query], "stdout": aligned, "aligned": aligned}
    program, fixed, _ = KNOWN[aligner]
    if program == "nucmer":
        prefix = aligned[: -len(".delta")]
        return {"argv": [tool(program), *options, "-p", prefix, reference, query], "stdout": None,
                "aligned": aligned}
    argv = [tool(program), *fixed, "-t", str(threads(aligner)), *options, reference, query]
    return {"argv": argv, "stdout": aligned, "aligned": aligned}


def split_steps(aligner, options, tool, reference, query, folder, generic_suffix):
    """The steps that turn a FASTA pair into one alignment file per sequence
    pair in FOLDER; TOOL(NAME) gives a program's path."""
    if aligner == "mumfind":
        return [{"argv": [tool("mumfind"), *options, "--split", folder, reference, query], "stdout": None}]
    aligned = aligned_file(aligner, folder, generic_suffix)
    split = [tool("aliconv"), aligned, "--split", folder]
    if aligner in KNOWN:
        # An aligner that found nothing writes a file without records,
        # whose format aliconv cannot recognise: name it.
        split[1:1] = ["-i", KNOWN[aligner][2]]
    return [aligner_step(aligner, options, tool, reference, query, aligned), {"argv": split, "stdout": None}]
