# Per row: alisyn on all of the row's alignments at once (its one-to-one
# filter by default), so that a query's blocks on other references count as
# translocations. The input is the row's alignment file (the sheet's, or the
# aligner's output), or for mumfind rows the pair files of the split, joined
# on alisyn's standard input in the order of their index (read through xargs,
# since a command line naming thousands of pair files would be too long). alisyn writes its outputs under
# results/ROW/synteny/ROW: the blocks table, the kept alignments, the query
# assignments, the per-pair table that the summary reads, and the chain file
# where the input gives every alignment's gap-free pieces and sequence
# lengths (otherwise the log says why there is none). Files of an earlier run
# go first, so that a chain file the new input cannot give does not stay.


rule synteny:
    input:
        synteny_input,
    output:
        blocks="results/{row}/synteny/{row}.blocks.tsv",
        pairs="results/{row}/synteny/{row}.pairs.tsv",
    params:
        alisyn=lambda wildcards: tool("alisyn"),
        options=config["alisyn_options"],
        prefix=lambda wildcards: synteny_prefix(wildcards.row),
        joined=lambda wildcards: "yes" if synteny_joined(wildcards.row) else "no",
        pair_folder=lambda wildcards: split_dir(wildcards.row),
        source=lambda wildcards, input: "-" if synteny_joined(wildcards.row) else input[0],
    log:
        "logs/{row}/synteny/alisyn.log",
    shell:
        "rm -f -- {params.prefix:q}.*; "
        "if [ {params.joined} = yes ]; then "
        "(cd {params.pair_folder:q} && tail -n +2 pairs.tsv | cut -f 1 | xargs -d '\\n' cat); fi | "
        "{params.alisyn:q} {params.options:q} -o {params.prefix:q} {params.source:q} 2> {log:q}"
