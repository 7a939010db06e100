"""The commands of a row's split step (see rules/split.smk): the row's
aligner on its FASTA pair, then aliconv --split; or mumfind --split, which
does both. Each step is an argument list, the file its standard output goes
to (None: the log) and, for an aligner, the file it writes its alignments
to."""

import os

# Aligners a row may name: the program, its arguments before the row's
# options, and the format of what it writes. minimap2 writes CIGARs (-c) so
# that aliconv has the alignments' matches.
KNOWN = {
    "minimap2-asm5": ("minimap2", ["-c", "-x", "asm5"], "paf"),
    "minimap2-asm20": ("minimap2", ["-c", "-x", "asm20"], "paf"),
    "nucmer": ("nucmer", [], "delta"),
}
# The programs that take a thread count (-t), and how many threads they ask
# Snakemake for; the step passes on what Snakemake grants.
THREADS = {"minimap2": 2, "mumfind": 2}


def program_of(aligner):
    return KNOWN[aligner][0] if aligner in KNOWN else aligner


def threads(aligner):
    return THREADS.get(program_of(aligner), 1)


def aligned_file(aligner, folder, generic_suffix):
    """Where the aligner's alignments land; None for mumfind, which splits
    them itself."""
    if aligner == "mumfind":
        return None
    suffix = KNOWN[aligner][2] if aligner in KNOWN else generic_suffix
    return os.path.join(folder, f"aligned.{suffix}")


def aligner_step(aligner, options, tool, reference, query, aligned, granted):
    if aligner not in KNOWN:
        # Any other aligner writes its alignments to standard output.
        return {"argv": [tool(aligner), *options, reference, query], "stdout": aligned, "aligned": aligned}
    program, fixed, _ = KNOWN[aligner]
    if program == "nucmer":
        prefix = aligned[: -len(".delta")]
        return {"argv": [tool(program), *options, "-p", prefix, reference, query], "stdout": None,
                "aligned": aligned}
    argv = [tool(program), *fixed, "-t", str(granted), *options, reference, query]
    return {"argv": argv, "stdout": aligned, "aligned": aligned}


def split_steps(aligner, options, tool, reference, query, folder, generic_suffix, granted):
    """The steps that turn a FASTA pair into one alignment file per sequence
    pair in FOLDER, with GRANTED threads for an aligner that takes a thread
    count (the row's options may set another); TOOL(NAME) gives a program's
    path."""
    if aligner == "mumfind":
        argv = [tool("mumfind"), "-t", str(granted), *options, "--split", folder, reference, query]
        return [{"argv": argv, "stdout": None}]
    aligned = aligned_file(aligner, folder, generic_suffix)
    split = [tool("aliconv"), aligned, "--split", folder]
    if aligner in KNOWN:
        # An aligner that found nothing writes a file without records,
        # whose format aliconv cannot recognise: name it.
        split[1:1] = ["-i", KNOWN[aligner][2]]
    return [aligner_step(aligner, options, tool, reference, query, aligned, granted),
            {"argv": split, "stdout": None}]
