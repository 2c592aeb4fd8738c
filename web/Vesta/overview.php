<?php
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';
require_once __DIR__ . '/../lib/controller.php';

require_login();

/** The activity of a VD, disk or array: words, percentage and a bar. */
function activity_cell(?array $act): string
{
    if ($act === null) {
        return '';
    }
    $words = h($act['type_word']) . ' ' . h($act['state_word']);
    return $act['percent'] === null ? $words : $words . ' <span class="percent">' . h($act['percent'])
        . '%</span> <progress max="100" value="' . h($act['percent']) . '"></progress>';
}

/**
 * Buttons of an object: $start (op => label) while nothing runs, else the
 * controls its activity's state allows; $always after them. They submit
 * the table's one form (one token a table, not one a button: a page of a
 * big controller stays small).
 */
function action_buttons(int $a, string $kind, int $id, ?array $act, array $start, array $always = []): string
{
    $buttons = ($act === null ? $start
        : ($act['state'] === 1 ? ['pause' => 'Pause', 'stop' => 'Stop']
            : ($act['state'] === 2 ? ['restart' => 'Restart'] : ['resume' => 'Resume', 'stop' => 'Stop']))) + $always;
    $out = '';
    foreach ($buttons as $op => $label) {
        // VD buttons keep the short ids "op-adapter-vd".
        $bid = $kind === 'vd' ? "$op-$a-$id" : "$op-$kind-$a-$id";
        $confirm = ['delete' => "Delete VD $id and all data on it?",
            'init' => "Initialize VD $id? Initialization destroys all data on it."][$op] ?? null;
        $out .= '<button type="submit" name="do" value="' . h("$kind:$id:$op") . '" id="' . h($bid) . '"'
            . ($confirm !== null ? ' data-confirm="' . h($confirm) . '"' : '') . '>' . h($label) . '</button> ';
    }
    return $out;
}

/**
 * A state cell: the word, and a class that colours it (ok, warn, bad);
 * the word alone says it too, for whoever does not see the colour.
 */
function state_cell(string $class, string $word, string $level): string
{
    $mark = ['ok' => '', 'warn' => '&#9888; ', 'bad' => '&#10006; '][$level];
    return '<td class="' . h($class) . ' level-' . h($level) . '">' . $mark . h($word) . '</td>';
}

/** The link to the replacement page for a VD or array that lost a member. */
function rebuild_link(int $a, string $kind, int $id): string
{
    return '<a class="button" href="replace.php#target-' . $a . '-' . $kind . '-' . $id . '" id="rebuild-'
        . ($kind === 'vd' ? '' : $kind . '-') . $a . '-' . $id . '">Rebuild&hellip;</a> ';
}

/** Health at a glance: what is degraded, offline, rebuilding or failed, and where to mend it. */
function health_banner(array $problems): string
{
    if ($problems === []) {
        return '<p id="health" class="banner level-ok">Healthy: every disk, array and VD is working.</p>';
    }
    $bad = in_array('bad', array_column($problems, 0), true);
    $out = '<div id="health" class="banner level-' . ($bad ? 'bad' : 'warn') . '"><strong>' . ($bad ? '&#10006; ' : '&#9888; ')
        . 'Needs attention:</strong><ul>';
    foreach ($problems as [$level, $text]) {
        $out .= '<li class="level-' . h($level) . '">' . h($text) . '</li>';
    }
    $link = is_admin() ? '<a href="replace.php" id="replace-link">Replace a disk</a>'
        : 'An administrator can mend it on the page Replace a disk.';
    return $out . '</ul><p>' . $link . '</p></div>';
}

/** The form around a table of objects with buttons. */
function action_form(int $a): string
{
    return '<form method="post" action="action.php">' . csrf_field() . '<input type="hidden" name="adapter" value="' . $a . '">';
}

$stamp = Controller::changeStamp();
$count = Controller::adapterCount();
$busy = false;
// What needs attention, for the banner above everything: [level, text].
$problems = [];
ob_start();
for ($a = 0; $a < $count; $a++) {
    $info = Controller::adapterInfo($a);
    echo '<section class="adapter" id="adapter-' . $a . '"><h3>' . h(Controller::adapterTitle($a, $info)) . '</h3>';

    $bbu = Controller::battery($a);
    if ($bbu !== [] && (int)($bbu['status'] ?? 0) !== 0) {
        echo '<p id="battery-' . $a . '">Battery: ' . h($bbu['percentage'] ?? '?') . '% remaining'
            . (((int)$bbu['status'] & 0x2) ? ', low' : '') . '</p>';
    } else {
        echo '<p>No battery.</p>';
    }

    $pds = Controller::pds($a);
    echo '<h4>Physical disks</h4>' . action_form($a) . '<table id="pds-' . $a . '"><tr><th>ID</th><th>Model</th><th>Serial</th><th>Size</th><th>State</th>'
        . '<th>Activity</th><th>Actions</th></tr>';
    foreach ($pds['list'] as $id => $p) {
        $act = $p['activity'];
        $busy = $busy || ($act !== null && $act['state'] === 1);
        // Media patrol and data scrub read disks that hold data or stand by.
        $start = in_array($p['state'], ['assigned', 'global spare', 'dedicated spare'], true)
            ? ['mp' => 'Media patrol', 'scrub' => 'Data scrub'] : [];
        $level = $p['state'] === 'offline' || $p['state'] === 'unknown' ? 'bad' : 'ok';
        if ($level === 'bad') {
            $problems[] = ['bad', "PD $id of adapter $a is " . ($p['state'] === 'offline' ? 'offline (failed)' : 'in an unknown state')];
        }
        echo '<tr id="pd-' . $a . '-' . $id . '"><td>' . h($id) . '</td><td>' . h(trim($p['Model'] ?? ''))
            . '</td><td>' . h(trim($p['SerialNo'] ?? '')) . '</td><td>' . h(Words::size((int)($p['Size'] ?? 0)))
            . '</td>' . state_cell('state', $p['state'], $level) . '<td class="activity">' . activity_cell($act)
            . '</td><td>' . action_buttons($a, 'pd', $id, $act, $start) . '</td></tr>';
    }
    echo '</table></form>';
    if ($pds['rc'] !== 0) {
        echo '<p class="error">Disks: ' . h(Words::error($pds['rc'])) . '</p>';
    }

    $spares = array_filter($pds['list'], fn($p) => str_contains($p['state'], 'spare'));
    echo '<h4>Spares</h4>';
    if ($spares === []) {
        echo '<p>No spare disks.</p>';
    } else {
        echo '<ul id="spares-' . $a . '">';
        foreach ($spares as $id => $p) {
            echo '<li>PD ' . h($id) . ': ' . h($p['state']) . ($p['state'] === 'dedicated spare' ? ' to array ' . h($p['DGID']) : '') . '</li>';
        }
        echo '</ul>';
    }

    $arrays = Controller::arrays($a);
    $vds = Controller::vds($a);
    $arrayIds = [];
    foreach ($arrays['list'] as $dg) {
        $arrayIds[(int)($dg['DGID'] ?? 0xFFFF)] = true;
    }
    if ($arrays['list'] !== []) {
        echo '<h4>Arrays</h4>' . action_form($a) . '<table id="arrays-' . $a . '"><tr><th>ID</th><th>Name</th><th>RAID</th><th>Status</th><th>Free</th>'
            . '<th>Activity</th><th>Actions</th></tr>';
        foreach ($arrays['list'] as $dg) {
            $dgid = (int)($dg['DGID'] ?? 0);
            $act = $dg['activity'];
            // An array reports the activity of its first VD that has one;
            // that one is controlled on the VD's row.
            $own = true;
            foreach (preg_split('/\s+/', trim($dg['VDIDs'] ?? '')) as $i => $vd) {
                if ($i < (int)($dg['VDSlotCount'] ?? 0) && ($vds['list'][(int)$vd]['activity'] ?? null) !== null) {
                    $own = false;
                }
            }
            $status = (int)($dg['Status'] ?? 2);
            $rebuilding = $act !== null && $act['type'] === 1;
            $level = $status === 0 ? ($rebuilding ? 'warn' : 'ok') : ($status === 1 ? 'warn' : 'bad');
            $name = trim($dg['Name'] ?? '');
            if ($status !== 0) {
                $problems[] = [$level, "array $dgid \"$name\" of adapter $a is " . ($status === 1 ? 'degraded' : 'offline')
                    . ($rebuilding ? ', rebuilding' : '')];
            } elseif ($rebuilding) {
                $problems[] = ['warn', "array $dgid \"$name\" of adapter $a is rebuilding"];
            }
            // A degraded array without an activity offers its rebuild.
            $rebuild = $status === 1 && $act === null && is_admin() ? rebuild_link($a, 'array', $dgid) : '';
            echo '<tr id="array-' . $a . '-' . $dgid . '"><td>' . h($dgid) . '</td><td>' . h($name) . '</td><td>'
                . h(Words::raidMode((int)($dg['RaidMode'] ?? 99))) . '</td>' . state_cell('status', Words::arrayStatus($status), $level)
                . '<td>' . h(Words::size((int)($dg['RemainingManagedSpace'] ?? 0))) . '</td><td class="activity">'
                . activity_cell($act) . '</td><td>' . $rebuild . ($own ? action_buttons($a, 'array', $dgid, $act, []) : '') . '</td></tr>';
        }
        echo '</table></form>';
    }

    echo '<h4>Virtual disks</h4>' . action_form($a) . '<table id="vds-' . $a . '"><tr><th>ID</th><th>Name</th><th>RAID</th><th>Size</th><th>Status</th><th>Activity</th><th>Actions</th></tr>';
    foreach ($vds['list'] as $id => $v) {
        $act = $v['activity'];
        $busy = $busy || ($act !== null && $act['state'] === 1);
        $status = (int)($v['Status'] ?? 99);
        $rebuilding = $act !== null && $act['type'] === 1;
        $level = in_array($status, [0, 15], true) ? 'ok' : (in_array($status, [1, 5], true) ? 'warn' : 'bad');
        $name = trim($v['Name'] ?? '');
        if ($level !== 'ok' || $rebuilding) {
            $problems[] = [$level, "VD $id \"$name\" of adapter $a is " . $v['status_word'] . ($rebuilding ? ', rebuilding' : '')];
        }
        // A VD that lost a member offers its rebuild (that of its array on
        // an adapter with arrays); initializing it instead would destroy
        // what the rebuild can save, and says so.
        $start = ['cc' => 'Check', 'init' => 'Initialize'];
        $rebuild = '';
        if ($status === 1 || $status === 4) {
            $dgOf = (int)($v['DGID'] ?? 0xFFFF);
            $rebuild = $status === 1 && $act === null && is_admin()
                ? (isset($arrayIds[$dgOf]) ? rebuild_link($a, 'array', $dgOf) : rebuild_link($a, 'vd', $id)) : '';
            $start = ['init' => 'Initialize (destroys its data)'];
        }
        echo '<tr id="vd-' . $a . '-' . $id . '"><td>' . h($id) . '</td><td class="name">' . h($name)
            . '</td><td>' . h(Words::raidMode((int)($v['RaidMode'] ?? 99))) . '</td><td>' . h(Words::size((int)($v['Size'] ?? 0)))
            . '</td>' . state_cell('status', $v['status_word'], $level) . '<td class="activity">';
        echo activity_cell($act) . '</td><td>' . $rebuild . action_buttons($a, 'vd', $id, $act, $start, ['delete' => 'Delete']);
        echo '</td></tr>';
    }
    echo '</table></form>';
    if ($vds['rc'] !== 0) {
        echo '<p class="error">Virtual disks: ' . h(Words::error($vds['rc'])) . '</p>';
    }
    echo '</section>';
}
$body = ob_get_clean();

page_head('Overview');
flash($_SESSION['ok'] ?? null, $_SESSION['err'] ?? null);
unset($_SESSION['ok'], $_SESSION['err']);
if (is_admin()) {
    echo '<p><a href="export.php" id="export-config">Export configuration</a></p>';
}
if ($count === 0) {
    echo '<p class="error">No adapter found. ' . h(Rpc::$lastError) . '</p>';
}
echo health_banner($problems);
echo $body;
echo '<div id="refresh" data-stamp="' . h($stamp) . '" data-busy="' . ($busy ? '1' : '0') . '"></div>';
page_foot();
