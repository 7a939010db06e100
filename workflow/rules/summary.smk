# The summary: one table per row (its sequence pairs, or the row's failure),
# then results/summary.tsv and results/index.html from all rows.


rule row_summary:
    input:
        unpack(row_outputs),
    output:
        "results/{row}/summary.tsv",
    log:
        "logs/{row}/summary.log",
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
    log:
        "logs/summary.log",
    script:
        "../scripts/write_summary.py"
