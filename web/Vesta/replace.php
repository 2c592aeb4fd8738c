<?php
// Replace a disk: the failed and offline disks and what they belonged to,
// the locate LED of the disk to pull and of the one that takes its place,
// only the free disks that can take it offered (and why not the others),
// the rebuild started and followed until the LEDs go off. Every change is
// a request of the module, which records it in the audit trail.
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';
require_once __DIR__ . '/../lib/replace.php';

require_login();
if (!is_admin()) {
    http_response_code(403);
    echo 'Forbidden: only an administrator (root or a member of the group root) may replace disks.';
    exit;
}
$count = Controller::adapterCount();
$ok = $err = null;
$int = fn(string $k, int $max) => filter_var($_POST[$k] ?? null, FILTER_VALIDATE_INT,
    ['options' => ['min_range' => 0, 'max_range' => $max]]);

if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    require_post();
    $a = $int('adapter', max(0, $count - 1));
    $pd = $int('pd', 65534);
    $op = post_text('op');
    if ($a === false || $pd === false || !in_array($op, ['led-on', 'led-off', 'rebuild'], true)) {
        $err = 'Choose an adapter, a disk and what to do.';
    } elseif ($op !== 'rebuild') {
        $rc = Replacement::locate($a, $pd, $op === 'led-on');
        if ($rc === 0) {
            $ok = "The locate LED of PD $pd is " . ($op === 'led-on' ? 'on.' : 'off.');
        } else {
            $err = "The controller refused the locate LED of PD $pd: " . Words::error($rc);
        }
    } else {
        // What was offered is checked again: the disks may have changed
        // since the page was shown.
        $key = post_text('target');
        $survey = Replacement::survey($a);
        $target = $survey['targets'][$key] ?? null;
        $why = $target !== null && isset($survey['pds'][$pd]) && $survey['pds'][$pd]['state'] === 'free'
            ? Replacement::whyNot($target, $survey['pds'][$pd]) : ['not a free disk'];
        if ($target === null || !Replacement::rebuildable($target)) {
            $err = 'There is nothing to rebuild there (any more).';
        } elseif ($why !== []) {
            $err = "PD $pd cannot take the place: " . implode('; ', $why) . '.';
        } else {
            // The new disk's LED shows where it sits while it is rebuilt.
            Replacement::locate($a, $pd, true);
            $rc = Replacement::startRebuild($a, $target, $pd);
            if ($rc === 0) {
                $old = array_values(array_filter(array_column($target['failed'], 'pd'), fn($p) => $p !== null));
                $_SESSION['replace_job'] = ['adapter' => $a, 'target' => $key, 'label' => $target['label'], 'pd' => $pd,
                    'old' => $old];
                $ok = 'Rebuild of ' . $target['label'] . " onto PD $pd started.";
            } else {
                $err = 'The controller refused the rebuild of ' . $target['label'] . ' onto PD ' . $pd . ': ' . Words::error($rc);
            }
        }
    }
}

if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    // Answered by a page of its own, so that the page reloading itself
    // while the rebuild runs never sends the form again.
    $_SESSION['replace_flash'] = [$ok, $err];
    header('Location: replace.php', true, 303);
    exit;
}
[$ok, $err] = is_array($_SESSION['replace_flash'] ?? null) ? $_SESSION['replace_flash'] : [null, null];
unset($_SESSION['replace_flash']);

$surveys = [];
for ($a = 0; $a < $count; $a++) {
    $surveys[$a] = Replacement::survey($a);
}

// The rebuild this session started: its progress, and at its end the
// LEDs it lit go off.
$job = is_array($_SESSION['replace_job'] ?? null) ? $_SESSION['replace_job'] : null;
$jobHtml = '';
$busy = false;
if ($job !== null && isset($surveys[$job['adapter']])) {
    $a = (int)$job['adapter'];
    $t = $surveys[$a]['targets'][$job['target']] ?? null;
    $label = (string)$job['label'];
    if ($t !== null && $t['rebuilding']) {
        $act = $t['activity'];
        $busy = $act['state'] === 1;
        $pct = $act['percent'];
        $jobHtml = '<p id="job" class="banner level-warn">Rebuilding ' . h($label) . ' onto PD ' . h($job['pd']) . ': '
            . h($act['state_word']) . ($pct !== null ? ', <span class="percent">' . h($pct) . '%</span> <progress max="100" value="'
            . h($pct) . '"></progress>' : '') . '</p>';
    } elseif ($surveys[$a]['rc'] === 0) {
        // The rebuild is over, done or stopped: the LEDs it lit go off.
        $off = [];
        foreach (array_merge([(int)$job['pd']], array_map('intval', $job['old'])) as $pd) {
            if (isset($surveys[$a]['pds'][$pd]) && Replacement::locate($a, $pd, false) === 0) {
                $off[] = $pd;
            }
        }
        $surveys[$a] = Replacement::survey($a);
        $ledsOff = $off !== [] ? '; the locate LEDs of PD ' . implode(', PD ', $off) . ' are off.' : '.';
        if ($t === null || $t['status'] === 0) {
            $jobHtml = '<p id="job" class="banner level-ok">' . h('The rebuild of ' . $label . ' onto PD ' . $job['pd']
                . ' is complete' . $ledsOff) . '</p>';
        } else {
            $jobHtml = '<p id="job" class="banner level-bad">' . h('The rebuild of ' . $label . ' onto PD ' . $job['pd']
                . ' has ended, but it is still ' . $t['status_word'] . $ledsOff) . '</p>';
        }
        unset($_SESSION['replace_job']);
    }
}

function led_button(int $a, int $pd, bool $lit): string
{
    return '<form method="post" action="replace.php" class="inline">' . csrf_field()
        . '<input type="hidden" name="adapter" value="' . $a . '"><input type="hidden" name="pd" value="' . $pd . '">'
        . '<input type="hidden" name="op" value="' . ($lit ? 'led-off' : 'led-on') . '">'
        . '<button type="submit" id="' . ($lit ? 'led-off' : 'led-on') . '-' . $a . '-' . $pd . '">'
        . ($lit ? 'Switch its LED off' : 'Light its LED') . '</button></form>';
}

function led_cell(array $p): string
{
    return (int)($p['LocateLEDStatus'] ?? 0) !== 0 ? '<td class="led level-warn">&#9679; on</td>' : '<td class="led">off</td>';
}

function disk_cells(array $p): string
{
    return '<td>' . h($p['id']) . '</td><td class="slot">' . h($p['slot']) . '</td><td>' . h(trim($p['Model'] ?? '')) . '</td><td>'
        . h(trim($p['SerialNo'] ?? '')) . '</td><td class="size">' . h(Words::size((int)($p['Size'] ?? 0))) . ' ('
        . h(Replacement::gb((int)($p['Size'] ?? 0), false)) . ')</td>';
}

page_head('Replace a disk');
flash($ok, $err);
echo $jobHtml;
$anything = false;
foreach ($surveys as $a => $s) {
    $failedPds = array_filter($s['pds'], fn($p) => $p['state'] === 'offline');
    $missing = 0;
    foreach ($s['targets'] as $t) {
        foreach ($t['failed'] as $f) {
            $missing += $f['pd'] === null ? 1 : 0;
        }
    }
    if ($failedPds === [] && $s['targets'] === [] && $s['rc'] === 0) {
        continue;
    }
    $anything = true;
    echo '<section id="replace-' . $a . '"><h3>' . h(Controller::adapterTitle($a, Controller::adapterInfo($a))) . '</h3>';
    if ($s['rc'] !== 0) {
        echo '<p class="error">Not everything could be read: ' . h(Words::error($s['rc'])) . '</p>';
    }
    echo '<h4>Failed and offline disks</h4>';
    if ($failedPds === []) {
        echo '<p>None listed' . ($missing > 0 ? '; ' . $missing . ' member disk(s) are missing (pulled): their slots are empty.' : '.')
            . '</p>';
    } else {
        echo '<table id="failed-' . $a . '"><tr><th>PD</th><th>Slot</th><th>Model</th><th>Serial</th><th>Size</th>'
            . '<th>State</th><th>Member of</th><th>Locate LED</th><th></th></tr>';
        foreach ($failedPds as $id => $p) {
            $lit = (int)($p['LocateLEDStatus'] ?? 0) !== 0;
            echo '<tr id="failed-' . $a . '-' . $id . '">' . disk_cells($p) . '<td class="state level-bad">&#10006; '
                . h($p['state']) . '</td><td>' . h($p['member_of'] === [] ? 'nothing' : implode(', ', $p['member_of']))
                . '</td>' . led_cell($p) . '<td>' . led_button($a, $id, $lit) . '</td></tr>';
        }
        echo '</table>';
    }
    foreach ($s['targets'] as $key => $t) {
        $tid = 'target-' . $a . '-' . $t['kind'] . '-' . $t['id'];
        echo '<section class="target" id="' . h($tid) . '"><h4>' . h($t['label']) . ': ' . h($t['status_word'])
            . ($t['rebuilding'] ? ', rebuilding' : '') . '</h4>';
        if ($t['vds'] !== []) {
            echo '<p>Its VDs: ' . h(implode(', ', $t['vds'])) . '.</p>';
        }
        $lost = [];
        foreach ($t['failed'] as $f) {
            $lost[] = $f['pd'] === null ? 'member ' . ($f['position'] + 1) . ': disk missing (pulled)'
                : 'member ' . ($f['position'] + 1) . ': PD ' . $f['pd'] . ' (' . $s['pds'][$f['pd']]['slot'] . ')';
        }
        if ($lost !== []) {
            echo '<p class="lost">Lost: ' . h(implode('; ', $lost)) . '.</p>';
        }
        if ($t['rebuilding']) {
            $act = $t['activity'];
            $busy = $busy || $act['state'] === 1;
            echo '<p class="progress">Rebuild ' . h($act['state_word'])
                . ($act['percent'] !== null ? ': <span class="percent">' . h($act['percent']) . '%</span> <progress max="100" value="'
                . h($act['percent']) . '"></progress>' : '') . '</p>';
        }
        if (!Replacement::rebuildable($t)) {
            if (!$t['rebuilding'] && $t['status'] !== 1) {
                echo '<p>It cannot be rebuilt: more members failed than its RAID level survives.</p>';
            }
            echo '</section>';
            continue;
        }
        $ref = $t['reference'];
        echo '<p>A replacement needs at least ' . h(Replacement::gb($t['member_kib'], true)) . ' free'
            . ($ref !== null ? ' and must be, like the member, a ' . h(Replacement::kindWords($ref)) : '') . '.</p>';
        $cands = Replacement::candidates($t, $s['pds']);
        if ($cands === []) {
            echo '<p id="' . h($tid) . '-none">No free disk. Insert a new disk, then reload this page.</p></section>';
            continue;
        }
        echo '<table id="candidates-' . h($tid) . '"><tr><th>PD</th><th>Slot</th><th>Model</th><th>Serial</th><th>Size</th>'
            . '<th>Kind</th><th>Can it take the place?</th><th>Locate LED</th><th></th></tr>';
        foreach ($cands as $id => $why) {
            $p = $s['pds'][$id];
            $lit = (int)($p['LocateLEDStatus'] ?? 0) !== 0;
            echo '<tr id="cand-' . h($tid) . '-' . $id . '" class="' . ($why === [] ? 'fits' : 'unfit') . '">' . disk_cells($p)
                . '<td>' . h(Replacement::kindWords($p['kind'])) . '</td>'
                . ($why === [] ? '<td class="why level-ok">yes</td>' : '<td class="why">no: ' . h(implode('; ', $why)) . '</td>')
                . led_cell($p) . '<td>';
            if ($why === []) {
                echo led_button($a, $id, $lit) . ' <form method="post" action="replace.php" class="inline">' . csrf_field()
                    . '<input type="hidden" name="adapter" value="' . $a . '"><input type="hidden" name="pd" value="' . $id . '">'
                    . '<input type="hidden" name="target" value="' . h($key) . '"><input type="hidden" name="op" value="rebuild">'
                    . '<button type="submit" id="rebuild-' . h($tid) . '-' . $id . '">Rebuild onto PD ' . $id . '</button></form>';
            }
            echo '</td></tr>';
        }
        echo '</table></section>';
    }
    echo '</section>';
}
if (!$anything && $jobHtml === '') {
    echo '<p id="nothing">No disk has failed: every VD and array has all its members.</p>';
}
// Reloads itself while a rebuild runs, so the progress is seen moving.
echo '<div id="refresh" data-stamp="' . h(Controller::changeStamp()) . '" data-busy="' . ($busy ? '1' : '0') . '"></div>';
page_foot();
