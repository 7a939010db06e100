"""Runs a row's split step (see rules/split.smk): removes the row's files
made from an earlier split, then runs each command in turn, its standard
error into the log. A missing input file, or a command that exits with a
failure status, ends the step with the row recorded as failed, and the step
itself succeeds; a command killed by a signal fails the step."""

import os
import shlex
import shutil
import subprocess
import sys


def write_status(path, lines):
    temporary = path + ".tmp"
    with open(temporary, "w") as handle:
        handle.write("".join(line + "\n" for line in lines))
    os.replace(temporary, path)


def failure_message(argv, status, stderr):
    """The tool's own message (its last line on standard error), or what the
    status says when it wrote none."""
    lines = [line.strip() for line in stderr.decode(errors="replace").splitlines() if line.strip()]
    return lines[-1] if lines else f"{os.path.basename(argv[0])} exited with status {status}"


def run_step(step, log):
    """Runs one command; returns its exit status and standard error."""
    log.write("$ " + shlex.join(step["argv"]) + "\n")
    log.flush()
    if step["stdout"]:
        with open(step["stdout"], "wb") as stdout:
            result = subprocess.run(step["argv"], stdout=stdout, stderr=subprocess.PIPE)
    else:
        result = subprocess.run(step["argv"], stdout=log, stderr=subprocess.PIPE)
    log.write(result.stderr.decode(errors="replace"))
    return result.returncode, result.stderr


def run_split(steps, missing, derived, folder, status_path, log_path):
    for stale in derived:
        shutil.rmtree(stale, ignore_errors=True)
    os.makedirs(folder, exist_ok=True)
    with open(log_path, "w") as log:
        if missing:
            message = f"cannot read {missing[0]}: No such file or directory"
            log.write(message + "\n")
            write_status(status_path, ["failed", message])
            return
        for step in steps:
            status, stderr = run_step(step, log)
            if status < 0:
                log.write(f"killed by signal {-status}\n")
                sys.exit(f"{step['argv'][0]} was killed by signal {-status}")
            if status != 0:
                message = failure_message(step["argv"], status, stderr)
                log.write(f"failed with status {status}\n")
                # No half-written pair files stay behind a failed row.
                shutil.rmtree(folder)
                os.makedirs(folder)
                write_status(status_path, ["failed", message])
                return
    write_status(status_path, ["ok"])


if __name__ == "__main__":
    run_split(snakemake.params.steps, snakemake.params.missing, snakemake.params.derived,
              snakemake.output.folder, snakemake.output.status, snakemake.log[0])
