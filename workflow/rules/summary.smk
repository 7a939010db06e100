# The summary: one table per row (its sequence pairs, or the row's failure),
# then results/summary.tsv and results/index.html from all rows.


def row_outputs(wildcards):
    """What a row's summary reads: the split status and, when the split
    succeeded, every pair's index entry, report, plots and picked file, in
    the order of split/pairs.tsv."""
    row = wildcards.row
    inputs = {"status": split_status(row)}
    if not row_succeeded(row):
        return inputs
    stems = [pair_stem(pair) for pair in row_pairs(row)]
    folder = row_dir(row)
    inputs["index"] = f"{split_dir(row)}/pairs.tsv"
    inputs["reports"] = [f"{folder}/chains/{stem}.gff.chainout" for stem in stems]
    inputs["svgs"] = [f"{folder}/plots/{stem}.svg" for stem in stems]
    inputs["htmls"] = [f"{folder}/plots/{stem}.html" for stem in stems]
    if aligned_input(row):
        inputs["picked"] = [f"{folder}/picked/{stem}.{picked_suffix(row)}" for stem in stems]
    return inputs


rule row_summary:
    input:
        unpack(row_outputs),
    output:
        "results/{row}/summary.tsv",
    params:
        log="logs/{row}/split.log",
    script:
        "../scripts/summarize_row.py"


rule summary:
    input:
        expand("results/{row}/summary.tsv", row=ROWS),
    output:
        table="results/summary.tsv",
        page="results/index.html",
    script:
        "../scripts/write_summary.py"
