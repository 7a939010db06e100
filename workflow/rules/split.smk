# A row's input becomes one alignment file per sequence pair in
# results/ROW/split/ with the index pairs.tsv: FASTA pairs through mumfind
# (or the configured aligner and aliconv), alignment files through aliconv.
#
# A tool that refuses the row's input does not fail this step: the step
# records the failure in split.status (the tool's message is in the log) so
# that the summary can list the row as failed, and check_split then fails
# the row's own job. A tool killed by a signal fails the step itself, so that
# the next run tries again.


def split_inputs(wildcards):
    row = ROWS[wildcards.row]
    if row["alignments"]:
        return [row["alignments"]]
    return [row["reference"], row["query"]]


def split_steps(wildcards):
    """The commands of a row's split step, each an argument list and the
    file its standard output goes to (None: the log)."""
    row = ROWS[wildcards.row]
    folder = split_dir(wildcards.row)
    if row["alignments"]:
        return [{"argv": [tool("aliconv"), row["alignments"], "--split", folder], "stdout": None}]
    if config["aligner"] == "mumfind":
        argv = [tool("mumfind"), *config["mumfind_options"], "--split", folder, row["reference"], row["query"]]
        return [{"argv": argv, "stdout": None}]
    aligned = aligned_input(wildcards.row)
    return [
        {"argv": [tool(config["aligner"]), *config["aligner_options"], row["reference"], row["query"]],
         "stdout": aligned},
        {"argv": [tool("aliconv"), aligned, "--split", folder], "stdout": None},
    ]


checkpoint split:
    input:
        split_inputs,
    output:
        folder=directory("results/{row}/split"),
        status="results/{row}/split.status",
    params:
        steps=split_steps,
    log:
        "logs/{row}/split.log",
    script:
        "../scripts/run_split.py"


rule check_split:
    input:
        status="results/{row}/split.status",
        log="logs/{row}/split.log",
    output:
        "results/{row}/split.ok",
    run:
        with open(input.status) as handle:
            state, message = handle.readline().strip(), handle.read().strip()
        if state != "ok":
            raise WorkflowError(f"row {wildcards.row} failed: {message} (log: {input.log})")
        open(output[0], "w").close()
