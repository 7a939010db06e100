# Sourced by the cluster test: a single-node SLURM with accounting, every
# piece of it in one folder. munged, mariadbd, slurmdbd, slurmctld and slurmd
# run in the foreground as children of the test, with their own key, sockets,
# ports, state, spool, logs and database in that folder; clients and daemons
# find the configuration through SLURM_CONF, so nothing in /etc is read or
# changed beyond what the packages installed. Slurm's connections to slurmdbd
# use munge's default socket whatever the configuration says, so the test
# runs in a mount namespace of its own (unshare --mount) where the folder's
# munge/ is mounted over /run/munge: the machine's own munged, if any, is
# neither seen nor disturbed.
#   cluster_start FOLDER   starts them (exports SLURM_CONF); status 1 with the
#                          daemon's log when one does not come up
#   cluster_stop           stops every daemon started, by its recorded pid
# Needs root (slurmd starts jobs as their user, the mount), a mount namespace
# of its own, and Debian's slurm-wlm, slurmdbd, munge and mariadb-server.

CLUSTER_NAME=lumotest
CLUSTER_ACCOUNT=lumotest
CLUSTER_PARTITION=lumotest
cluster_pids=()

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# wait_for SECONDS DAEMON_LOG COMMAND...: runs COMMAND until it succeeds;
# when it never does, prints the end of the daemon's log.
wait_for() {
  local seconds=$1 log=$2
  shift 2
  for _ in $(seq "$((seconds * 4))"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.25
  done
  echo "cluster: '$*' did not succeed within $seconds s; the end of $log:"
  tail -n 20 "$log"
  return 1
}

# start_daemon LOG COMMAND...: runs COMMAND in the background, its output
# into LOG, and records its pid.
start_daemon() {
  local log=$1
  shift
  "$@" >> "$log" 2>&1 &
  cluster_pids+=($!)
}

write_slurm_conf() {
  local folder=$1 host=$2 dbd_port=$3
  cat > "$folder/slurm.conf" <<EOF
ClusterName=$CLUSTER_NAME
SlurmctldHost=$host
SlurmUser=root
SlurmdUser=root
SlurmctldPort=$(free_port)
SlurmdPort=$(free_port)
AuthType=auth/munge
StateSaveLocation=$folder/state
SlurmdSpoolDir=$folder/spool
SlurmctldPidFile=$folder/slurmctld.pid
SlurmdPidFile=$folder/slurmd.pid
SlurmctldLogFile=$folder/log/slurmctld.log
SlurmdLogFile=$folder/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/slurmdbd
AccountingStorageHost=localhost
AccountingStoragePort=$dbd_port
AccountingStorageEnforce=associations
JobCompType=jobcomp/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
MpiDefault=none
ReturnToService=2
MailProg=/bin/true
# The node claims the memory the profile asks for; with CR_Core memory is
# not a consumed resource, and config_overrides keeps the node up on a
# machine with less.
SlurmdParameters=config_overrides
NodeName=$host NodeAddr=127.0.0.1 CPUs=$(nproc) RealMemory=16000 State=UNKNOWN
PartitionName=$CLUSTER_PARTITION Nodes=$host Default=YES MaxTime=INFINITE State=UP
EOF
}

write_slurmdbd_conf() {
  local folder=$1 dbd_port=$2 db_port=$3
  # slurmdbd reads slurmdbd.conf beside slurm.conf, and only when no one
  # else may read it (it holds the database password).
  (umask 077 && cat > "$folder/slurmdbd.conf" <<EOF
AuthType=auth/munge
DbdHost=localhost
DbdPort=$dbd_port
SlurmUser=root
StorageType=accounting_storage/mysql
StorageHost=127.0.0.1
StoragePort=$db_port
StorageUser=slurm
StoragePass=lumotest
StorageLoc=slurm_acct_db
PidFile=$folder/slurmdbd.pid
LogFile=$folder/log/slurmdbd.log
EOF
  )
}

start_munge() {
  local folder=$1
  mkdir -p "$folder/munge" /run/munge && chmod 711 "$folder/munge" &&
    mount --bind "$folder/munge" /run/munge || return 1
  mungekey --create --keyfile="$folder/munge/key" || return 1
  start_daemon "$folder/log/munged.out" munged --foreground --force --key-file="$folder/munge/key" \
    --pid-file="$folder/munge/pid" --seed-file="$folder/munge/seed" --log-file="$folder/log/munged.log"
  wait_for 20 "$folder/log/munged.log" munge --string=ready
}

start_mariadb() {
  local folder=$1 db_port=$2
  mariadb-install-db --no-defaults --datadir="$folder/db" --user=root \
    --auth-root-authentication-method=normal --skip-test-db > "$folder/log/mariadb-install.log" 2>&1 ||
    { tail -n 20 "$folder/log/mariadb-install.log"; return 1; }
  start_daemon "$folder/log/mariadbd.log" mariadbd --no-defaults --datadir="$folder/db" --user=root \
    --socket="$folder/mariadb.socket" --pid-file="$folder/mariadbd.pid" --port="$db_port" \
    --bind-address=127.0.0.1 --innodb-buffer-pool-size=64M
  local client=(mariadb --no-defaults --socket="$folder/mariadb.socket" --user=root)
  wait_for 60 "$folder/log/mariadbd.log" "${client[@]}" -e 'select 1' || return 1
  "${client[@]}" -e "CREATE USER 'slurm'@'127.0.0.1' IDENTIFIED BY 'lumotest';
    CREATE USER 'slurm'@'localhost' IDENTIFIED BY 'lumotest';
    GRANT ALL ON slurm_acct_db.* TO 'slurm'@'127.0.0.1';
    GRANT ALL ON slurm_acct_db.* TO 'slurm'@'localhost';"
}

# The cluster, its account and the user who runs the test, known to
# accounting before slurmctld registers.
add_associations() {
  local folder=$1 user
  user=$(id -un)
  wait_for 60 "$folder/log/slurmdbd.log" sacctmgr -i add cluster "$CLUSTER_NAME" || return 1
  sacctmgr -i add account "$CLUSTER_ACCOUNT" cluster="$CLUSTER_NAME" >/dev/null &&
    sacctmgr -i add user "$user" account="$CLUSTER_ACCOUNT" cluster="$CLUSTER_NAME" >/dev/null
}

node_idle() {
  sinfo -h -o %t | grep -qx idle
}

cluster_start() {
  local folder=$1 host dbd_port db_port
  host=$(hostname -s)
  dbd_port=$(free_port)
  db_port=$(free_port)
  mkdir -p "$folder/log" "$folder/state" "$folder/spool"
  export SLURM_CONF="$folder/slurm.conf"
  write_slurm_conf "$folder" "$host" "$dbd_port"
  write_slurmdbd_conf "$folder" "$dbd_port" "$db_port"
  start_munge "$folder" || return 1
  start_mariadb "$folder" "$db_port" || return 1
  start_daemon "$folder/log/slurmdbd.out" slurmdbd -D
  add_associations "$folder" || return 1
  start_daemon "$folder/log/slurmctld.out" slurmctld -D -i
  wait_for 60 "$folder/log/slurmctld.log" scontrol ping || return 1
  start_daemon "$folder/log/slurmd.out" slurmd -D
  wait_for 60 "$folder/log/slurmd.log" node_idle
}

# Cancels the jobs left (a test cut short), then stops the daemons in the
# reverse order of their start, each by its pid, waiting for it to end
# (slurmdbd and mariadbd write their state on the way).
cluster_stop() {
  local index pid
  [ ${#cluster_pids[@]} -gt 0 ] && timeout 20 scancel --partition="$CLUSTER_PARTITION" >/dev/null 2>&1
  for ((index = ${#cluster_pids[@]} - 1; index >= 0; index--)); do
    pid=${cluster_pids[index]}
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 120); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.25
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  cluster_pids=()
}
