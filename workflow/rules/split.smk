# A row's input becomes one alignment file per sequence pair in
# results/ROW/split/ with the index pairs.tsv: FASTA pairs through mumfind
# (or the configured aligner and aliconv), alignment files through aliconv.
#
# The step's status (split.status) is ok, empty (the input or the aligner
# gave no alignment) or failed, with the reason on the next line.
#
# A tool that refuses the row's input, or an input file that does not exist,
# does not fail this step: the step records the failure in split.status (the
# tool's message is in the log) so that the summary can list the row as
# failed, and check_split then fails the row's own job. A missing file is
# therefore not an input of the step (Snakemake would stop every row), but a
# parameter, so that the step runs again once the file is there. A tool
# killed by a signal fails the step itself, so that the next run tries again.
#
# A new split makes every chain, plot, picked file and synteny table of the
# row out of date: the step removes them, so that pairs the input no longer
# holds leave nothing behind.


checkpoint split:
    input:
        split_inputs,
    output:
        folder=directory("results/{row}/split"),
        status="results/{row}/split.status",
    params:
        steps=split_steps,
        missing=missing_inputs,
        empty_message=empty_message,
        derived=derived_folders,
    threads: split_threads
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
    log:
        "logs/{row}/check_split.log",
    shell:
        'if [ "$(head -n 1 {input.status:q})" != failed ]; then touch {output:q}; else '
        'echo "row {wildcards.row} failed: $(tail -n +2 {input.status:q}) (log: {input.log})" | tee {log:q} >&2; '
        "exit 1; fi"
