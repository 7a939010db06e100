# Per sequence pair: the chain (alichain -f), its dot plots (aliplot, SVG and
# HTML) and, where the row has an alignment file, the chain's members picked
# back into that file's format (aliconv --pick).


# alichain -f writes its report beside its input; a link in chains/ to the
# pair's alignment file keeps the report out of the split step's folder.
# alichain always runs its two passes side by side, on two threads (it has
# no option for their number).
rule chain:
    input:
        "results/{row}/split/{pair}.gff",
    output:
        alignments="results/{row}/chains/{pair}.gff",
        report="results/{row}/chains/{pair}.gff.chainout",
    params:
        alichain=lambda wildcards: tool("alichain"),
    threads: 2
    log:
        "logs/{row}/chains/{pair}.log",
    shell:
        "ln -sfr {input:q} {output.alignments:q} && "
        "{params.alichain:q} -f {output.alignments:q} > {log:q} 2>&1"


rule plot:
    input:
        alignments="results/{row}/chains/{pair}.gff",
        report="results/{row}/chains/{pair}.gff.chainout",
    output:
        svg="results/{row}/plots/{pair}.svg",
        html="results/{row}/plots/{pair}.html",
    params:
        aliplot=lambda wildcards: tool("aliplot"),
    log:
        "logs/{row}/plots/{pair}.log",
    shell:
        "for plot in {output.svg:q} {output.html:q}; do "
        "{params.aliplot:q} {input.alignments:q} {input.report:q} -o \"$plot\" || exit; "
        "done 2> {log:q}"


rule pick:
    input:
        report="results/{row}/chains/{pair}.gff.chainout",
        alignments=lambda wildcards: aligned_input(wildcards.row),
    output:
        "results/{row}/picked/{pair}.{suffix}",
    wildcard_constraints:
        suffix="[A-Za-z0-9]+",
    params:
        aliconv=lambda wildcards: tool("aliconv"),
    log:
        "logs/{row}/picked/{pair}.{suffix}.log",
    shell:
        "{params.aliconv:q} --pick {input.report:q} {input.alignments:q} -o {output:q} 2> {log:q}"
