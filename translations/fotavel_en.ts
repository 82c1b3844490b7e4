<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>fotavel::BarreExplorer</name>
    <message>
        <source>Explorer</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>Ouvrir une photo</source>
        <translation>Open a photo</translation>
    </message>
    <message>
        <source>Fermer l&apos;Exploreur</source>
        <translation>Close the browser</translation>
    </message>
    <message>
        <source>Prévisualisation</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Cliquez sur la photo pour l&apos;ouvrir</source>
        <translation>Click the photo to open it</translation>
    </message>
    <message>
        <source>Sélectionnez une photo.</source>
        <translation>Select a photo.</translation>
    </message>
    <message>
        <source>Le lecteur </source>
        <translation>Drive </translation>
    </message>
    <message>
        <source> n&apos;est pas prêt !</source>
        <translation> is not ready!</translation>
    </message>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Prévisualisation en cours...
</source>
        <translation>Loading preview...
</translation>
    </message>
    <message>
        <source>Erreur !</source>
        <translation>Error!</translation>
    </message>
</context>
<context>
    <name>fotavel::CropTool</name>
    <message>
        <source>Proportions du cadre</source>
        <translation>Frame proportions</translation>
    </message>
    <message>
        <source>Libre</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>Photo d&apos;origine</source>
        <translation>Original photo</translation>
    </message>
    <message>
        <source>1:1</source>
        <translation>1:1</translation>
    </message>
    <message>
        <source>4:3</source>
        <translation>4:3</translation>
    </message>
    <message>
        <source>3:2</source>
        <translation>3:2</translation>
    </message>
    <message>
        <source>16:9</source>
        <translation>16:9</translation>
    </message>
    <message>
        <source>10 × 15</source>
        <translation>4 × 6</translation>
    </message>
    <message>
        <source>Échanger portrait et paysage</source>
        <translation>Swap portrait and landscape</translation>
    </message>
    <message>
        <source>Recadrer</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Largeur :</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>Hauteur :</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>Recadrage : %1 x %2 pixels</source>
        <translation>Crop: %1 x %2 pixels</translation>
    </message>
    <message>
        <source>Recadrage : tracez le rectangle à garder</source>
        <translation>Crop: draw the rectangle to keep</translation>
    </message>
</context>
<context>
    <name>fotavel::FormAide</name>
    <message>
        <source> A propos de ...</source>
        <translation> About...</translation>
    </message>
    <message>
        <source> (Freeware)</source>
        <translation> (Freeware)</translation>
    </message>
    <message>
        <source>Auteur : </source>
        <translation>Author: </translation>
    </message>
    <message>
        <source>l&apos;atelier Fotavel</source>
        <translation>the Fotavel workshop</translation>
    </message>
    <message>
        <source>Site :</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Vos photos, retouchées d&apos;un clic, simplement.</source>
        <translation>Your photos, retouched in one click, simply.</translation>
    </message>
    <message>
        <source>(reportez-vous à la licence jointe)</source>
        <translation>(see the enclosed licence)</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>La licence est introuvable : le fichier<byte value="xd"/>
</source>
        <translation>The licence cannot be found: the file<byte value="xd"/>
</translation>
    </message>
    <message>
        <source><byte value="xd"/>
n&apos;existe pas.</source>
        <translation><byte value="xd"/>
does not exist.</translation>
    </message>
    <message>
        <source>Aucun programme n&apos;a pu ouvrir la licence<byte value="xd"/>
</source>
        <translation>No program could open the licence<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>fotavel::RedEyeTool</name>
    <message>
        <source>Cliquez sur chaque œil rouge, ou entourez-le d&apos;un rectangle.</source>
        <translation>Click each red eye, or draw a rectangle around it.</translation>
    </message>
    <message>
        <source>Terminer</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Garder les yeux corrigés et quitter l&apos;outil</source>
        <translation>Keep the corrected eyes and leave the tool</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Défaire les corrections faites avec l&apos;outil et le quitter</source>
        <translation>Undo the corrections made with the tool and leave it</translation>
    </message>
    <message>
        <source>Cliquez au milieu d&apos;un œil rouge, ou tracez un rectangle autour.</source>
        <translation>Click the middle of a red eye, or draw a rectangle around it.</translation>
    </message>
    <message>
        <source>Œil rouge corrigé. Cliquez sur le suivant, ou Échap pour finir.</source>
        <translation>Red eye corrected. Click the next one, or press Esc to finish.</translation>
    </message>
    <message>
        <source>Aucun œil rouge trouvé à cet endroit.</source>
        <translation>No red eye found here.</translation>
    </message>
</context>
<context>
    <name>fotavel::StraightenTool</name>
    <message>
        <source>Angle :</source>
        <translation>Angle:</translation>
    </message>
    <message>
        <source>Faites pivoter la photo par dixièmes de degré</source>
        <translation>Rotate the photo in tenths of a degree</translation>
    </message>
    <message>
        <source> °</source>
        <translation> °</translation>
    </message>
    <message>
        <source>Angle en degrés, positif dans le sens des aiguilles d&apos;une montre</source>
        <translation>Angle in degrees, positive clockwise</translation>
    </message>
    <message>
        <source>Coins blancs</source>
        <translation>White corners</translation>
    </message>
    <message>
        <source>Garder toute la photo pivotée sur un fond blanc au lieu de la recadrer</source>
        <translation>Keep the whole rotated photo on a white background instead of cropping it</translation>
    </message>
    <message>
        <source>Redresser</source>
        <translation>Straighten</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Tracez une ligne le long de l&apos;horizon ou d&apos;un mur, ou réglez l&apos;angle.</source>
        <translation>Draw a line along the horizon or a wall, or set the angle.</translation>
    </message>
</context>
<context>
    <name>fotavel::demarrage</name>
    <message>
        <source> de </source>
        <translation> by </translation>
    </message>
    <message>
        <source>l&apos;atelier Fotavel</source>
        <translation>the Fotavel workshop</translation>
    </message>
    <message>
        <source>Version </source>
        <translation>Version </translation>
    </message>
    <message>
        <source>Vos photos,</source>
        <translation>Your photos,</translation>
    </message>
    <message>
        <source>retouchées d&apos;un clic,</source>
        <translation>retouched in one click,</translation>
    </message>
    <message>
        <source>simplement.</source>
        <translation>simply.</translation>
    </message>
</context>
<context>
    <name>fotavel::fSauvJpg</name>
    <message>
        <source>Qualité de la photo</source>
        <translation>Photo quality</translation>
    </message>
    <message>
        <source>Sans perte</source>
        <translation>Lossless</translation>
    </message>
    <message>
        <source>Taille maximale du fichier</source>
        <translation>Maximum file size</translation>
    </message>
    <message>
        <source> Ko</source>
        <translation> KB</translation>
    </message>
    <message>
        <source>Qualité</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Faible</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Moyenne</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Elevée</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Maximale</source>
        <translation>Maximum</translation>
    </message>
</context>
<context>
    <name>fotavel::frmCombination</name>
    <message>
        <source>Image Combination</source>
        <translation>Combine Photos</translation>
    </message>
    <message>
        <source>Source Image &amp;1:</source>
        <translation>Source photo &amp;1:</translation>
    </message>
    <message>
        <source>Source Image &amp;2:</source>
        <translation>Source photo &amp;2:</translation>
    </message>
    <message>
        <source>Offset:</source>
        <translation>Offset:</translation>
    </message>
    <message>
        <source>Multiplier:</source>
        <translation>Multiplier:</translation>
    </message>
    <message>
        <source>&amp;Add Images</source>
        <translation>&amp;Add photos</translation>
    </message>
    <message>
        <source>&amp;Darkest</source>
        <translation>&amp;Darkest</translation>
    </message>
    <message>
        <source>&amp;Lightest</source>
        <translation>&amp;Lightest</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Taille de la photo après opération: %1 x %2</source>
        <translation>Photo size afterwards: %1 x %2</translation>
    </message>
    <message>
        <source>Erreur de valeur.</source>
        <translation>Invalid value.</translation>
    </message>
</context>
<context>
    <name>fotavel::frmImage</name>
    <message>
        <source>Fichiers Bitmap (*.BMP)|*.BMP|Fichiers Jpeg (*.JPG)|*.JPG|Fichiers PNG (*.PNG)|*.PNG|Fichiers WebP (*.WEBP)|*.WEBP|Fichiers AVIF (*.AVIF)|*.AVIF|Fichiers TIFF (*.TIF)|*.TIF;*.TIFF|Tous les fichiers (*.*)|*.*</source>
        <translation>Bitmap files (*.BMP)|*.BMP|JPEG files (*.JPG)|*.JPG|PNG files (*.PNG)|*.PNG|WebP files (*.WEBP)|*.WEBP|AVIF files (*.AVIF)|*.AVIF|TIFF files (*.TIF)|*.TIF;*.TIFF|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Enregistrer la photo</source>
        <translation>Save the photo</translation>
    </message>
    <message>
        <source>Erreur de sélection (code 213)!</source>
        <translation>Selection error (code 213)!</translation>
    </message>
    <message>
        <source>Taille 1:1</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>Réduire la photo à la taille de la  fenêtre</source>
        <translation>Fit the photo to the window</translation>
    </message>
    <message>
        <source>Zoom [+] : Bouton souris à gauche   /   Zoom [-] : Bouton souris à droite</source>
        <translation>Zoom in [+]: left mouse button   /   Zoom out [-]: right mouse button</translation>
    </message>
    <message>
        <source>Recadrer la photo</source>
        <translation>Crop the photo</translation>
    </message>
    <message>
        <source>Redresser la photo : tracez l&apos;horizon ou choisissez l&apos;angle</source>
        <translation>Straighten the photo: draw the horizon or choose the angle</translation>
    </message>
    <message>
        <source>Corriger les yeux rouges : cliquez sur chaque œil</source>
        <translation>Fix red eyes: click each eye</translation>
    </message>
    <message>
        <source>Zoom: %1 %</source>
        <translation>Zoom: %1%</translation>
    </message>
</context>
<context>
    <name>fotavel::frmNewSize</name>
    <message>
        <source> Taille de l&apos;image</source>
        <translation> Photo Size</translation>
    </message>
    <message>
        <source>En &amp;Pixels</source>
        <translation>In &amp;pixels</translation>
    </message>
    <message>
        <source>Largeur</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Hauteur</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>&amp;Conserver les proportions</source>
        <translation>&amp;Keep proportions</translation>
    </message>
    <message>
        <source>En P&amp;ourcentage</source>
        <translation>As a p&amp;ercentage</translation>
    </message>
    <message>
        <source>Pourcent</source>
        <translation>Percent</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>La largeur et la hauteur doivent être des nombres entiers d&apos;au moins 1 pixel.</source>
        <translation>The width and the height must be whole numbers of at least 1 pixel.</translation>
    </message>
    <message>
        <source>Cette taille est trop grande pour une photo : %1 x %2 pixels.</source>
        <translation>This size is too large for a photo: %1 x %2 pixels.</translation>
    </message>
</context>
<context>
    <name>fotavel::frmParamLogo</name>
    <message>
        <source>Fichiers images (*.JPG;*.PNG;*.GIF;*.BMP)|*.JPG;*.PNG;*.GIF;*.BMP|Fichiers Jpeg (*.JPG)|*.JPG|Fichiers Bitmap (*.BMP)|*.BMP|Fichiers PNG (*.PNG)|*.PNG|Fichiers GIF (*.GIF)|*.GIF</source>
        <translation>Image files (*.JPG;*.PNG;*.GIF;*.BMP)|*.JPG;*.PNG;*.GIF;*.BMP|JPEG files (*.JPG)|*.JPG|Bitmap files (*.BMP)|*.BMP|PNG files (*.PNG)|*.PNG|GIF files (*.GIF)|*.GIF</translation>
    </message>
    <message>
        <source>Paramétrage de votre logo</source>
        <translation>Your Logo Settings</translation>
    </message>
    <message>
        <source>%1 % de la taille totale de l&apos;image</source>
        <translation>%1% of the whole photo&apos;s size</translation>
    </message>
    <message>
        <source>%1 % de transparence</source>
        <translation>%1% transparency</translation>
    </message>
    <message>
        <source>Choisir / Changer de logo</source>
        <translation>Choose / Change the logo</translation>
    </message>
    <message>
        <source>Fichier :</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>&amp;Ouvrir...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Effacer</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Pour intégrer votre logo détouré dans vos photos, utilisez le format d&apos;image &quot;png 24&quot; pour un meilleur résultat.</source>
        <translation>To put a logo with a transparent background into your photos, use the &quot;PNG 24&quot; image format for the best result.</translation>
    </message>
    <message>
        <source>(Besoin d&apos;aide pour préparer votre logo ? Écrivez-nous à aide@fotavel.example.org)</source>
        <translation>(Need help preparing your logo? Write to us at aide@fotavel.example.org)</translation>
    </message>
    <message>
        <source>Emplacement du logo dans la photo</source>
        <translation>Where the logo goes in the photo</translation>
    </message>
    <message>
        <source>Position horizontale</source>
        <translation>Horizontal position</translation>
    </message>
    <message>
        <source>(par rapport à la largeur de la photo)</source>
        <translation>(relative to the photo&apos;s width)</translation>
    </message>
    <message>
        <source>Position verticale</source>
        <translation>Vertical position</translation>
    </message>
    <message>
        <source>(par rapport à la hauteur de la photo)</source>
        <translation>(relative to the photo&apos;s height)</translation>
    </message>
    <message>
        <source>Taille du logo</source>
        <translation>Logo size</translation>
    </message>
    <message>
        <source>Proportion :</source>
        <translation>Proportion:</translation>
    </message>
    <message>
        <source>10 % de la taille totale de l&apos;image</source>
        <translation>10% of the whole photo&apos;s size</translation>
    </message>
    <message>
        <source>Transparence du logo</source>
        <translation>Logo transparency</translation>
    </message>
    <message>
        <source>Translucide :</source>
        <translation>Translucent:</translation>
    </message>
    <message>
        <source>0 % de transparence</source>
        <translation>0% transparency</translation>
    </message>
    <message>
        <source>Rotation du logo</source>
        <translation>Logo rotation</translation>
    </message>
    <message>
        <source>Angle :</source>
        <translation>Angle:</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>X à 50 % : Logo centré horizontalement</source>
        <translation>X at 50%: logo centred horizontally</translation>
    </message>
    <message>
        <source>X à %1 % de la largeur de l&apos;image</source>
        <translation>X at %1% of the photo&apos;s width</translation>
    </message>
    <message>
        <source>Y à 50 % : Logo centré verticalement</source>
        <translation>Y at 50%: logo centred vertically</translation>
    </message>
    <message>
        <source>Y à %1 % de la hauteur de l&apos;image</source>
        <translation>Y at %1% of the photo&apos;s height</translation>
    </message>
    <message>
        <source>Sélectionnez votre logo</source>
        <translation>Select your logo</translation>
    </message>
    <message>
        <source>Etes vous sûr de vouloir supprimer le logo précédemment configuré dans le logiciel ?</source>
        <translation>Are you sure you want to delete the logo set up earlier in the program?</translation>
    </message>
</context>
<context>
    <name>fotavel::frmProprietes</name>
    <message>
        <source> octets</source>
        <translation> bytes</translation>
    </message>
    <message>
        <source> Ko</source>
        <translation> KB</translation>
    </message>
    <message>
        <source> Mo</source>
        <translation> MB</translation>
    </message>
    <message>
        <source>Propriétés de </source>
        <translation>Properties of </translation>
    </message>
    <message>
        <source>inconnue</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Nom</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Dossier</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Dimensions</translation>
    </message>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1 x %2 pixels</translation>
    </message>
    <message>
        <source>Taille sur le disque</source>
        <translation>Size on disk</translation>
    </message>
    <message>
        <source>Créé le</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Modifié le</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Dernier accès</source>
        <translation>Last opened</translation>
    </message>
    <message>
        <source>Fichier</source>
        <translation>File</translation>
    </message>
    <message>
        <source>pas encore enregistrée</source>
        <translation>not saved yet</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>fotavel::frmReglages</name>
    <message>
        <source>Réglages</source>
        <translation>Adjustments</translation>
    </message>
    <message>
        <source>&amp;Luminosité</source>
        <translation>&amp;Brightness</translation>
    </message>
    <message>
        <source>&amp;Contraste</source>
        <translation>&amp;Contrast</translation>
    </message>
    <message>
        <source>&amp;Saturation</source>
        <translation>&amp;Saturation</translation>
    </message>
    <message>
        <source>C&amp;haleur</source>
        <translation>&amp;Warmth</translation>
    </message>
    <message>
        <source>&amp;Automatique</source>
        <translation>&amp;Automatic</translation>
    </message>
    <message>
        <source>Règle les curseurs d&apos;après les couleurs de la photo</source>
        <translation>Sets the sliders from the photo&apos;s colours</translation>
    </message>
    <message>
        <source>&amp;Réinitialiser</source>
        <translation>&amp;Reset</translation>
    </message>
    <message>
        <source>Voir l&apos;&amp;original</source>
        <translation>Show &amp;original</translation>
    </message>
    <message>
        <source>Maintenez ce bouton enfoncé, ou la touche O, pour voir la photo d&apos;origine</source>
        <translation>Hold this button down, or the O key, to see the original photo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>fotavel::mfrmMain</name>
    <message>
        <source>Erreur lors de l&apos;opération &apos;Coller&apos;: </source>
        <translation>Error while pasting: </translation>
    </message>
    <message>
        <source>La photo n&apos;a pas besoin d&apos;être améliorée.</source>
        <translation>The photo does not need enhancing.</translation>
    </message>
    <message>
        <source>Erreur à l&apos;importation ! Vérifiez que vous avez bien sélectionné une image.</source>
        <translation>Import error! Check that you have selected a picture.</translation>
    </message>
    <message>
        <source>La photo n&apos;a pas pu être copiée dans le presse-papiers.</source>
        <translation>The photo could not be copied to the clipboard.</translation>
    </message>
    <message>
        <source>La photo est dans le presse-papiers, mais elle n&apos;y resterait pas après la fermeture de Fotavel : collez-la dans l&apos;éditeur d&apos;affiches avant de fermer.</source>
        <translation>The photo is on the clipboard, but it would not stay there once Fotavel is closed: paste it into the poster editor before closing.</translation>
    </message>
    <message>
        <source>La photo :<byte value="xd"/>
</source>
        <translation>The photo:<byte value="xd"/>
</translation>
    </message>
    <message>
        <source><byte value="xd"/>
est déjà ouverte !<byte value="xd"/>
<byte value="xd"/>
Voulez vous en ouvrir une copie ?</source>
        <translation><byte value="xd"/>
is already open!<byte value="xd"/>
<byte value="xd"/>
Do you want to open a copy of it?</translation>
    </message>
    <message>
        <source>%1 octets</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>%1 Ko</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>Photo enregistrée en qualité %1 : %2</source>
        <translation>Photo saved at quality %1: %2</translation>
    </message>
    <message>
        <source>Pour ne pas dépasser %1, la photo a été enregistrée en %2 x %3 pixels.<byte value="xd"/>
La photo de la fenêtre garde sa taille.</source>
        <translation>To stay within %1, the photo was saved at %2 x %3 pixels.<byte value="xd"/>
The photo in the window keeps its size.</translation>
    </message>
    <message>
        <source>&amp;Ouvrir et fermer l&apos;exploreur</source>
        <translation>&amp;Show or hide the browser</translation>
    </message>
    <message>
        <source>&amp;Enregistrer sous</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>&amp;Imprimer</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>&amp;Fermer</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>&amp;Retour à l&apos;éditeur sans importer mon travail</source>
        <translation>&amp;Back to the editor without importing my work</translation>
    </message>
    <message>
        <source>Importer mon &amp;travail dans l&apos;éditeur</source>
        <translation>Import my &amp;work into the editor</translation>
    </message>
    <message>
        <source>&amp;Annuler</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Rétablir</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>&amp;Copier</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Co&amp;ller</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Re&amp;tailler la photo</source>
        <translation>Re&amp;size the photo</translation>
    </message>
    <message>
        <source>R&amp;ecadrer…</source>
        <translation>Cr&amp;op…</translation>
    </message>
    <message>
        <source>Re&amp;dresser…</source>
        <translation>S&amp;traighten…</translation>
    </message>
    <message>
        <source>&amp;Yeux rouges</source>
        <translation>Red &amp;eyes</translation>
    </message>
    <message>
        <source>&amp;Propriétés</source>
        <translation>Propert&amp;ies</translation>
    </message>
    <message>
        <source>Masquer</source>
        <translation>Mask</translation>
    </message>
    <message>
        <source>Sharpen</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>Blur</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>Ciel</source>
        <translation>Sky</translation>
    </message>
    <message>
        <source>Droite</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Gauche</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Colorer</source>
        <translation>Vivid</translation>
    </message>
    <message>
        <source>Ternir</source>
        <translation>Muted</translation>
    </message>
    <message>
        <source>Plus Cl&amp;air</source>
        <translation>&amp;Lighter</translation>
    </message>
    <message>
        <source>Plus S&amp;ombre</source>
        <translation>&amp;Darker</translation>
    </message>
    <message>
        <source>Format Web</source>
        <translation>Web Size</translation>
    </message>
    <message>
        <source>Diffusion</source>
        <translation>Diffuse</translation>
    </message>
    <message>
        <source>Trouver Contours</source>
        <translation>Find Edges</translation>
    </message>
    <message>
        <source>Effet Photocopie</source>
        <translation>Photocopy Effect</translation>
    </message>
    <message>
        <source>Négatif</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>Plume Calligraphique</source>
        <translation>Calligraphy Pen</translation>
    </message>
    <message>
        <source>Niveaux de &amp;Gris</source>
        <translation>&amp;Greyscale</translation>
    </message>
    <message>
        <source>&amp;Réglages…</source>
        <translation>&amp;Adjustments…</translation>
    </message>
    <message>
        <source>A&amp;mélioration automatique</source>
        <translation>Auto-&amp;enhance</translation>
    </message>
    <message>
        <source>Combiner</source>
        <translation>Combine</translation>
    </message>
    <message>
        <source>Soften</source>
        <translation>Soften</translation>
    </message>
    <message>
        <source>Soften More</source>
        <translation>Soften More</translation>
    </message>
    <message>
        <source>Blur More</source>
        <translation>Blur More</translation>
    </message>
    <message>
        <source>Sharpen More</source>
        <translation>Sharpen More</translation>
    </message>
    <message>
        <source>Unsharp</source>
        <translation>Unsharp Mask</translation>
    </message>
    <message>
        <source>&amp;Emboss...</source>
        <translation>&amp;Emboss…</translation>
    </message>
    <message>
        <source>Mi&amp;nimum Rank Filter...</source>
        <translation>Mi&amp;nimum Rank Filter…</translation>
    </message>
    <message>
        <source>Me&amp;dian Rank Filter...</source>
        <translation>Me&amp;dian Rank Filter…</translation>
    </message>
    <message>
        <source>Ma&amp;ximum Rank Filter...</source>
        <translation>Ma&amp;ximum Rank Filter…</translation>
    </message>
    <message>
        <source>Votre &amp;logo</source>
        <translation>Your &amp;logo</translation>
    </message>
    <message>
        <source>Fenêtres &amp;Horizontales</source>
        <translation>Tile &amp;Horizontally</translation>
    </message>
    <message>
        <source>Fenêtres &amp;Verticales</source>
        <translation>Tile &amp;Vertically</translation>
    </message>
    <message>
        <source>En &amp;Cascade</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>&amp;Ranger les Icônes</source>
        <translation>&amp;Arrange Icons</translation>
    </message>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>&amp;Fichier</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Edition</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Plus d&apos;E&amp;ffets</source>
        <translation>More E&amp;ffects</translation>
    </message>
    <message>
        <source>&amp;Softening Filters</source>
        <translation>&amp;Softening Filters</translation>
    </message>
    <message>
        <source>S&amp;harpening Filters</source>
        <translation>S&amp;harpening Filters</translation>
    </message>
    <message>
        <source>Filtres &amp;Spéciaux</source>
        <translation>Spe&amp;cial Filters</translation>
    </message>
    <message>
        <source>&amp;Couleurs</source>
        <translation>&amp;Colours</translation>
    </message>
    <message>
        <source>&amp;Paramètres</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Fe&amp;nêtre</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>?</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Largeur plus grande que la hauteur:<byte value="xd"/>
Lancer l&apos;impression en orientation Paysage ?</source>
        <translation>The width is greater than the height:<byte value="xd"/>
Print in landscape orientation?</translation>
    </message>
    <message>
        <source>Hauteur grande que la largeur:<byte value="xd"/>
Lancer l&apos;impression en orientation Portrait ?</source>
        <translation>The height is greater than the width:<byte value="xd"/>
Print in portrait orientation?</translation>
    </message>
    <message>
        <source>Aucune imprimante n&apos;est installée : la photo ne peut pas être imprimée.</source>
        <translation>No printer is installed: the photo cannot be printed.</translation>
    </message>
    <message>
        <source>L&apos;impression n&apos;a pas pu commencer : la photo n&apos;a pas été imprimée.</source>
        <translation>Printing could not start: the photo was not printed.</translation>
    </message>
    <message>
        <source>L&apos;impression a échoué : la photo n&apos;a pas été envoyée à l&apos;imprimante.</source>
        <translation>Printing failed: the photo was not sent to the printer.</translation>
    </message>
    <message>
        <source>Explorer</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>Ouvrir / Fermer l&apos;Exploreur</source>
        <translation>Show / Hide the browser</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Enregistrez votre travail</source>
        <translation>Save your work</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Annuler une action</source>
        <translation>Undo an action</translation>
    </message>
    <message>
        <source>Clair</source>
        <translation>Lighter</translation>
    </message>
    <message>
        <source>Lumière : Photo plus lumineuse</source>
        <translation>Light: brighter photo</translation>
    </message>
    <message>
        <source>Sombre</source>
        <translation>Darker</translation>
    </message>
    <message>
        <source>Lumière : Photo moins lumineuse</source>
        <translation>Light: darker photo</translation>
    </message>
    <message>
        <source>Saturation : Plus de couleur</source>
        <translation>Saturation: more colour</translation>
    </message>
    <message>
        <source>Saturation : Moins de couleur</source>
        <translation>Saturation: less colour</translation>
    </message>
    <message>
        <source>Nette</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>Netteté : Photo plus nette</source>
        <translation>Sharpness: sharper photo</translation>
    </message>
    <message>
        <source>Floue</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Netteté : Photo plus floue</source>
        <translation>Sharpness: softer photo</translation>
    </message>
    <message>
        <source>Pivoter à 90° vers la gauche</source>
        <translation>Rotate 90° to the left</translation>
    </message>
    <message>
        <source>Pivoter à 90° vers la droite</source>
        <translation>Rotate 90° to the right</translation>
    </message>
    <message>
        <source>Retailler au format Web</source>
        <translation>Resize for the Web</translation>
    </message>
    <message>
        <source>Insérer votre logo</source>
        <translation>Insert your logo</translation>
    </message>
    <message>
        <source>Remplacer un ciel blanc</source>
        <translation>Replace a white sky</translation>
    </message>
    <message>
        <source>Masquer une partie de la photo</source>
        <translation>Mask part of the photo</translation>
    </message>
    <message>
        <source>Retour</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Annuler: Retour à l&apos;éditeur d&apos;affiches sans importer mon travail</source>
        <translation>Cancel: back to the poster editor without importing my work</translation>
    </message>
    <message>
        <source>Importer</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Valider: Importer mon travail dans l&apos;éditeur d&apos;affiches</source>
        <translation>Confirm: import my work into the poster editor</translation>
    </message>
    <message>
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Fermer l&apos;application</source>
        <translation>Close the program</translation>
    </message>
    <message>
        <source>Noir et Blanc</source>
        <translation>Black and White</translation>
    </message>
    <message>
        <source>Autres commandes</source>
        <translation>More commands</translation>
    </message>
    <message>
        <source>I don&apos;t know how to put a DIB on the clipboard! Copy as bitmap instead!!!</source>
        <translation>I don&apos;t know how to put a DIB on the clipboard! Copy as bitmap instead!!!</translation>
    </message>
    <message>
        <source>le presse-papiers ne contient pas d&apos;image</source>
        <translation>the clipboard holds no picture</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <location filename="../src/document/Commands.cpp" line="43"/>
        <source>cet effet ne prend pas de valeur</source>
        <translation>this effect takes no value</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="51"/>
        <source>nombre entier attendu</source>
        <translation>whole number expected</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="61"/>
        <source>le type de filtre va de 1 à 11</source>
        <translation>the filter type goes from 1 to 11</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="74"/>
        <source>forme attendue : N:P:v1,v2,…</source>
        <translation>expected form: N:W:v1,v2,…</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="78"/>
        <source>un noyau de %1 x %1 demande %2 valeurs</source>
        <translation>a %1 x %1 kernel needs %2 values</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="89"/>
        <source>forme attendue : LARGEURxHAUTEUR</source>
        <translation>expected form: WIDTHxHEIGHT</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="97"/>
        <source>forme attendue : GAUCHE,HAUT,DROITE,BAS</source>
        <translation>expected form: LEFT,TOP,RIGHT,BOTTOM</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="118"/>
        <source>fichier de la seconde photo attendu</source>
        <translation>file of the second photo expected</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="128"/>
        <source>forme attendue : GAUCHE,HAUT,DROITE,BAS ou LARGEUR:HAUTEUR</source>
        <translation>expected form: LEFT,TOP,RIGHT,BOTTOM or WIDTH:HEIGHT</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="134"/>
        <source>les deux termes du rapport sont des entiers de 1 ou plus</source>
        <translation>both terms of the ratio are whole numbers of 1 or more</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="139"/>
        <source>les bords se comptent en pixels à partir de 0, le coin haut gauche</source>
        <translation>the edges are counted in pixels from 0, the top left corner</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="144"/>
        <source>la droite doit dépasser la gauche, et le bas le haut</source>
        <translation>the right must be past the left, and the bottom past the top</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="170"/>
        <source>forme attendue : ANGLE ou ANGLE:blanc, l&apos;angle en degrés avec un point décimal (-2.5)</source>
        <translation>expected form: ANGLE or ANGLE:blanc, the angle in degrees with a decimal point (-2.5)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="177"/>
        <source>l&apos;angle va de -45 à 45 degrés</source>
        <translation>the angle goes from -45 to 45 degrees</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="186"/>
        <source>forme attendue : X,Y,RAYON</source>
        <translation>expected form: X,Y,RADIUS</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="190"/>
        <source>le point se compte en pixels à partir de 0, le coin haut gauche, et le rayon vaut au moins 1</source>
        <translation>the point is counted in pixels from 0, the top left corner, and the radius is at least 1</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="204"/>
        <source>forme attendue : LUMINOSITÉ[,CONTRASTE[,SATURATION[,CHALEUR]]]</source>
        <translation>expected form: BRIGHTNESS[,CONTRAST[,SATURATION[,WARMTH]]]</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="210"/>
        <source>chaque réglage va de -100 à 100</source>
        <translation>each setting goes from -100 to 100</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="232"/>
        <source>Aucun œil rouge trouvé à %1 pixels ou moins de (%2, %3).</source>
        <translation>No red eye found within %1 pixels of (%2, %3).</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="266"/>
        <source>rendre plus net (filtre 5)</source>
        <translation>sharpen (filter 5)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="269"/>
        <source>rendre flou (filtre 1)</source>
        <translation>blur (filter 1)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="272"/>
        <source>filtre=N</source>
        <translation>filtre=N</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="273"/>
        <source>filtre de type N, de 1 à 11</source>
        <translation>filter of type N, from 1 to 11</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="275"/>
        <source>noyau=N:P:v1,v2,...</source>
        <translation>noyau=N:W:v1,v2,...</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="276"/>
        <source>noyau N x N de poids P, valeurs ligne par ligne depuis le haut</source>
        <translation>N x N kernel of weight W, values row by row from the top</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="282"/>
        <source>clair[=P]</source>
        <translation>clair[=P]</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="283"/>
        <source>éclaircir de P % (20)</source>
        <translation>lighten by P% (20)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="285"/>
        <source>sombre[=A]</source>
        <translation>sombre[=A]</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="286"/>
        <source>assombrir, chaque couleur × A / 255 (240)</source>
        <translation>darken, each colour × A / 255 (240)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="289"/>
        <source>colorer[=P]</source>
        <translation>colorer[=P]</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="290"/>
        <source>plus de couleur, P % (30)</source>
        <translation>more colour, P% (30)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="292"/>
        <source>ternir[=P]</source>
        <translation>ternir[=P]</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="293"/>
        <source>moins de couleur, P % (30)</source>
        <translation>less colour, P% (30)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="297"/>
        <source>niveaux de gris</source>
        <translation>greyscale</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="300"/>
        <source>noir et blanc tranché</source>
        <translation>stark black and white</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="303"/>
        <source>dessin à la plume (noir et blanc tramé)</source>
        <translation>pen drawing (dithered black and white)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="305"/>
        <source>diffusion[=F]</source>
        <translation>diffusion[=F]</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="306"/>
        <source>diffusion des points, facteur F (6)</source>
        <translation>scatter the pixels, factor F (6)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="308"/>
        <source>trouver les contours</source>
        <translation>find the edges</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="311"/>
        <source>négatif</source>
        <translation>negative</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="313"/>
        <source>quart de tour à gauche</source>
        <translation>quarter turn to the left</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="315"/>
        <source>quart de tour à droite</source>
        <translation>quarter turn to the right</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="318"/>
        <source>ciel bleu à la place d&apos;un ciel blanc</source>
        <translation>blue sky in place of a white sky</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="321"/>
        <source>format Web : le grand côté passe à 400 pixels</source>
        <translation>Web size: the longer side becomes 400 pixels</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="326"/>
        <source>taille=LxH</source>
        <translation>taille=WxH</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="327"/>
        <source>retailler en L x H pixels</source>
        <translation>resize to W x H pixels</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="331"/>
        <source>masquer=G,H,D,B</source>
        <translation>masquer=L,T,R,B</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="332"/>
        <source>flouter la zone (gauche, haut, droite, bas en pixels depuis le coin haut gauche)</source>
        <translation>blur the area (left, top, right, bottom in pixels from the top left corner)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="340"/>
        <source>insérer le logo du dossier des paramètres</source>
        <translation>stamp the logo of the settings folder</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="344"/>
        <source>Aucun logo n&apos;est configuré (logo.png, .jpg, .bmp ou .gif dans le dossier des paramètres).</source>
        <translation>No logo is set up (logo.png, .jpg, .bmp or .gif in the settings folder).</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="349"/>
        <source>combiner=FICHIER[:TYPE:M1:O1:M2:O2]</source>
        <translation>combiner=FILE[:TYPE:M1:O1:M2:O2]</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="350"/>
        <source>combiner avec une seconde photo (1 addition, 2 plus sombre, 3 plus clair)</source>
        <translation>combine with a second photo (1 addition, 2 darker, 3 lighter)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="359"/>
        <source>recadrer=G,H,D,B ou L:H</source>
        <translation>recadrer=L,T,R,B or W:H</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="360"/>
        <source>garder les colonnes G à D-1 et les lignes H à B-1 (pixels depuis le coin
haut gauche : largeur D - G, hauteur B - H) ; L:H, le plus grand
rectangle centré de proportions L:H (3:2, 1:1…)</source>
        <translation>keep columns L to R-1 and rows T to B-1 (pixels from the top left
corner: width R - L, height B - T); W:H, the largest centred
rectangle of proportions W:H (3:2, 1:1…)</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="365"/>
        <source>redresser=A[:blanc]</source>
        <translation>redresser=A[:blanc]</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="366"/>
        <source>tourner de A degrés, de -45 à 45 avec un point décimal (-2.5), positif
dans le sens des aiguilles d&apos;une montre, et garder le plus grand
rectangle sans coin vide ; :blanc garde toute la photo, coins en blanc</source>
        <translation>turn by A degrees, -45 to 45 with a decimal point (-2.5), clockwise
when positive, and keep the largest rectangle with no empty corner;
:blanc keeps the whole photo, with white corners</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="377"/>
        <source>amélioration automatique : niveaux étirés couleur par couleur et, pour
une photo terne, un peu plus de couleur ; une photo qui couvre déjà
toute la gamme reste telle quelle</source>
        <translation>automatic enhancement: levels stretched colour by colour and, for a
dull photo, a little more colour; a photo that already covers the
whole range stays as it is</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="383"/>
        <source>reglages=L[,C[,S[,T]]]</source>
        <translation>reglages=B[,C[,S[,W]]]</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="384"/>
        <source>régler luminosité L, contraste C, saturation S et chaleur T, chacun de
-100 à 100, 0 ne change rien ; les valeurs omises à la fin valent 0</source>
        <translation>set brightness B, contrast C, saturation S and warmth W, each from
-100 to 100, 0 changes nothing; values left out at the end are 0</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="391"/>
        <source>yeux-rouges=X,Y,R</source>
        <translation>yeux-rouges=X,Y,R</translation>
    </message>
    <message>
        <location filename="../src/document/Commands.cpp" line="392"/>
        <source>corriger l&apos;œil rouge le plus proche du point (X, Y), en pixels depuis le
coin haut gauche, dans un rayon de R pixels ; une erreur si aucun n&apos;y est</source>
        <translation>correct the red eye nearest the point (X, Y), in pixels from the top
left corner, within a radius of R pixels; an error if there is none</translation>
    </message>
</context>
<context>
    <name>ImageProcessError</name>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="31"/>
        <source>Size must be an odd number</source>
        <translation>The size must be an odd number.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="33"/>
        <source>Invalid filter types.</source>
        <translation>Invalid filter type.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="36"/>
        <source>Invalid size.  Size should be an odd number from 3 to 9</source>
        <translation>Invalid size. The size must be an odd number from 3 to 9.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="41"/>
        <source>Filter weight must not be 0.</source>
        <translation>The filter weight must not be 0.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="43"/>
        <source>Kernel index out of range.</source>
        <translation>Kernel index out of range.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="46"/>
        <source>The kernel size has not been set.</source>
        <translation>The kernel size has not been set.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="49"/>
        <source>The two pictures must be the same size.</source>
        <translation>The two pictures must be the same size.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="52"/>
        <source>The source picture is smaller than the destination.</source>
        <translation>The source picture is smaller than the destination.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="55"/>
        <source>The matrix must be square and complete.</source>
        <translation>The matrix must be square and complete.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="57"/>
        <source>The divisor must not be 0.</source>
        <translation>The divisor must not be 0.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="60"/>
        <source>The matrix sums could leave the 16-bit range.</source>
        <translation>The matrix sums could leave the 16-bit range.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="62"/>
        <source>The picture is empty.</source>
        <translation>The picture is empty.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="65"/>
        <source>The rectangle must lie inside the picture.</source>
        <translation>The rectangle must lie inside the picture.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="68"/>
        <source>The angle must be from -45 to 45 degrees.</source>
        <translation>The angle must be from -45 to 45 degrees.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="71"/>
        <source>The point must lie inside the picture and the radius be at least 1.</source>
        <translation>The point must lie inside the picture and the radius be at least 1.</translation>
    </message>
    <message>
        <location filename="../src/effects/ImageProcessError.h" line="74"/>
        <source>Out of memory</source>
        <translation>Out of memory</translation>
    </message>
</context>
<context>
    <name>LosslessJpeg</name>
    <message>
        <location filename="../src/io/LosslessJpeg.cpp" line="95"/>
        <source>fichier JPEG d&apos;origine illisible</source>
        <translation>original JPEG file unreadable</translation>
    </message>
    <message>
        <location filename="../src/io/LosslessJpeg.cpp" line="100"/>
        <source>sous-échantillonnage des couleurs inhabituel dans le fichier JPEG d&apos;origine : ses blocs ne peuvent pas être déplacés</source>
        <translation>unusual colour subsampling in the original JPEG file: its blocks cannot be moved</translation>
    </message>
    <message>
        <location filename="../src/io/LosslessJpeg.cpp" line="117"/>
        <source>photo de %1 x %2 pixels, plus petite qu&apos;un bloc JPEG de %3 x %4 : elle ne peut pas être tournée sans perte</source>
        <translation>photo of %1 x %2 pixels, smaller than a JPEG block of %3 x %4: it cannot be turned without loss</translation>
    </message>
    <message>
        <location filename="../src/io/LosslessJpeg.cpp" line="140"/>
        <source>transformation JPEG indisponible</source>
        <translation>JPEG transformation unavailable</translation>
    </message>
    <message>
        <location filename="../src/io/LosslessJpeg.cpp" line="146"/>
        <source>la photo ne vient pas d&apos;un fichier JPEG</source>
        <translation>the photo does not come from a JPEG file</translation>
    </message>
    <message>
        <location filename="../src/io/LosslessJpeg.cpp" line="179"/>
        <source>les côtés de la photo (%1 x %2 pixels) ne sont pas des multiples des blocs JPEG (%3 x %4 pixels) : la tourner sans perte couperait ses bords</source>
        <translation>the sides of the photo (%1 x %2 pixels) are not multiples of the JPEG blocks (%3 x %4 pixels): turning it without loss would cut off its edges</translation>
    </message>
    <message>
        <location filename="../src/io/LosslessJpeg.cpp" line="217"/>
        <source>échec du déplacement des blocs JPEG (%1)</source>
        <translation>moving the JPEG blocks failed (%1)</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <location filename="../src/document/LosslessMessages.h" line="13"/>
        <source>la photo n&apos;a pas été ouverte d&apos;un fichier JPEG : elle ne peut pas être enregistrée sans perte</source>
        <translation>the photo was not opened from a JPEG file: it cannot be saved without loss</translation>
    </message>
    <message>
        <location filename="../src/document/LosslessMessages.h" line="19"/>
        <source>la photo a subi d&apos;autres changements que des quarts de tour : elle ne peut plus être enregistrée sans perte</source>
        <translation>the photo has had other changes than quarter turns: it can no longer be saved without loss</translation>
    </message>
    <message>
        <location filename="../src/document/LosslessMessages.h" line="27"/>
        <source>Photo enregistrée sans perte de qualité : %1</source>
        <translation>Photo saved without loss of quality: %1</translation>
    </message>
    <message>
        <location filename="../src/document/LosslessMessages.h" line="33"/>
        <source>1 pixel</source>
        <translation>1 pixel</translation>
    </message>
    <message>
        <location filename="../src/document/LosslessMessages.h" line="34"/>
        <source>%1 pixels</source>
        <translation>%1 pixels</translation>
    </message>
    <message>
        <location filename="../src/document/LosslessMessages.h" line="46"/>
        <source>une bande de %1 à gauche et une bande de %2 en haut</source>
        <translation>a strip of %1 on the left and a strip of %2 at the top</translation>
    </message>
    <message>
        <location filename="../src/document/LosslessMessages.h" line="50"/>
        <source>une bande de %1 à gauche</source>
        <translation>a strip of %1 on the left</translation>
    </message>
    <message>
        <location filename="../src/document/LosslessMessages.h" line="53"/>
        <source>une bande de %1 en haut</source>
        <translation>a strip of %1 at the top</translation>
    </message>
    <message>
        <location filename="../src/document/LosslessMessages.h" line="56"/>
        <source>Cette photo peut être enregistrée sans perte de qualité, mais ses bords ne tombent pas sur des blocs JPEG entiers : il faudrait couper %1. La photo passerait de %2 x %3 à %4 x %5 pixels.<byte value="xd"/>
<byte value="xd"/>
Oui : enregistrer sans perte, en coupant ces bords.<byte value="xd"/>
Non : enregistrer la photo entière, en l&apos;encodant de nouveau (avec perte).<byte value="xd"/>
Annuler : ne rien enregistrer.</source>
        <translation>This photo can be saved without loss of quality, but its edges do not fall on whole JPEG blocks: %1 would have to be cut off. The photo would go from %2 x %3 to %4 x %5 pixels.<byte value="xd"/>
<byte value="xd"/>
Yes: save without loss, cutting off these edges.<byte value="xd"/>
No: save the whole photo, encoding it again (with loss).<byte value="xd"/>
Cancel: save nothing.</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="24"/>
        <source>Une erreur est survenue lors de l&apos;ouverture de : </source>
        <translation>An error occurred while opening: </translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="26"/>
        <source>Erreur lors de l&apos;enregistrement de la photo: </source>
        <translation>Error while saving the photo: </translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="27"/>
        <source>Vous avez choisi un format imcompatible!<byte value="xd"/>
La photo a été sauvegardée au format bitmap (.bmp)</source>
        <translation>You chose an incompatible format!<byte value="xd"/>
The photo was saved in bitmap format (.bmp)</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="31"/>
        <source>Sélectionnez une photo !</source>
        <translation>Select a photo!</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="33"/>
        <source>Mémoire insuffisante : la photo n&apos;a pas été modifiée.</source>
        <translation>Not enough memory: the photo was not changed.</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="37"/>
        <source>Erreur du système n° %1 : %2</source>
        <translation>System error %1: %2</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="44"/>
        <source>Erreur inattendue.</source>
        <translation>Unexpected error.</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="45"/>
        <source>Erreur inattendue : %1</source>
        <translation>Unexpected error: %1</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="50"/>
        <source>Le logo n&apos;a pas pu être inséré : </source>
        <translation>The logo could not be stamped: </translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="53"/>
        <source>le réglage %1 de fotavel.ini (« %2 ») n&apos;est pas un nombre valable.</source>
        <translation>the %1 setting of fotavel.ini (&quot;%2&quot;) is not a valid number.</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="59"/>
        <source>le fichier %1 est introuvable dans le dossier des paramètres.</source>
        <translation>the file %1 cannot be found in the settings folder.</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="65"/>
        <source>le fichier %1 n&apos;est pas une image lisible.</source>
        <translation>the file %1 is not a readable picture.</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="71"/>
        <source>Impossible de créer le dossier des paramètres :<byte value="xd"/>
%1</source>
        <translation>Cannot create the settings folder:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="76"/>
        <source>Impossible de lire le fichier :<byte value="xd"/>
%1</source>
        <translation>Cannot read the file:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="79"/>
        <source>Impossible d&apos;enregistrer le logo dans le dossier :<byte value="xd"/>
%1</source>
        <translation>Cannot save the logo in the folder:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="84"/>
        <source>Impossible d&apos;enregistrer les réglages du logo dans :<byte value="xd"/>
%1</source>
        <translation>Cannot save the logo settings in:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="89"/>
        <source>Impossible de supprimer :<byte value="xd"/>
%1</source>
        <translation>Cannot delete:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="94"/>
        <source>Attention!<byte value="xd"/>
Pour ce format de photo la mémoire disponible de votre ordinateur peut s&apos;avérer insuffisante.<byte value="xd"/>
<byte value="xd"/>
Les différentes solutions :<byte value="xd"/>
- Fermez les programmes en cours.<byte value="xd"/>
- Réduisez la taille de votre photo.<byte value="xd"/>
- Si ce message s&apos;affiche souvent pensez à faire augmenter votre mémoire vive.</source>
        <translation>Warning!<byte value="xd"/>
Your computer may not have enough free memory for a photo of this size.<byte value="xd"/>
<byte value="xd"/>
What you can do:<byte value="xd"/>
- Close the programs that are running.<byte value="xd"/>
- Make your photo smaller.<byte value="xd"/>
- If this message comes up often, consider adding more memory (RAM).</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="107"/>
        <source>Réalisé en %1 ms</source>
        <translation>Done in %1 ms</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="112"/>
        <source>La photo &apos;%1&apos; a changé.<byte value="xd"/>
<byte value="xd"/>
Voulez vous l&apos;importer dans l&apos;éditeur ?</source>
        <translation>The photo &apos;%1&apos; has changed.<byte value="xd"/>
<byte value="xd"/>
Do you want to import it into the editor?</translation>
    </message>
    <message>
        <location filename="../src/document/Messages.h" line="116"/>
        <source>La photo &apos;%1&apos; a changé.<byte value="xd"/>
<byte value="xd"/>
Voulez vous la sauvegarder ?</source>
        <translation>The photo &apos;%1&apos; has changed.<byte value="xd"/>
<byte value="xd"/>
Do you want to save it?</translation>
    </message>
</context>
<context>
    <name>PhotoDocument</name>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="70"/>
        <source>Mémoire insuffisante pour une photo de %1 x %2 pixels : la photo n&apos;a pas été modifiée.</source>
        <translation>Not enough memory for a photo of %1 x %2 pixels: the photo was not changed.</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="95"/>
        <source>Photo: %1 modifiée</source>
        <translation>Photo: %1 modified</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="133"/>
        <source>Le noyau de %1 x %1 attend %2 valeurs, pas %3.</source>
        <translation>The %1 x %1 kernel expects %2 values, not %3.</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="212"/>
        <source>Impossible de retailler la photo en %1 x %2 : chaque côté doit mesurer au moins 1 pixel.</source>
        <translation>Cannot resize the photo to %1 x %2: each side must be at least 1 pixel.</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="264"/>
        <source>Impossible de recadrer la photo de %1 x %2 pixels : le rectangle de %3 x %4 pixels en (%5, %6) en sort.</source>
        <translation>Cannot crop the photo of %1 x %2 pixels: the rectangle of %3 x %4 pixels at (%5, %6) goes past its edges.</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="280"/>
        <source>Impossible de redresser la photo : l&apos;angle va de -45 à 45 degrés.</source>
        <translation>Cannot straighten the photo: the angle goes from -45 to 45 degrees.</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="293"/>
        <source>Impossible de régler la photo : chaque réglage va de -100 à 100.</source>
        <translation>Cannot adjust the photo: each setting goes from -100 to 100.</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="311"/>
        <source>Impossible de corriger les yeux rouges en (%1, %2) sur un rayon de %3 pixels : le point doit être dans la photo de %4 x %5 pixels, et le rayon d&apos;au moins 1 pixel.</source>
        <translation>Cannot correct red eyes at (%1, %2) within a radius of %3 pixels: the point must lie inside the photo of %4 x %5 pixels, and the radius be at least 1 pixel.</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="384"/>
        <location filename="../src/document/PhotoDocument.cpp" line="97"/>
        <source>Nouvelle photo %1</source>
        <translation>New photo %1</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="386"/>
        <location filename="../src/document/PhotoDocument.cpp" line="101"/>
        <location filename="../src/document/PhotoDocument.cpp" line="192"/>
        <location filename="../src/document/PhotoDocument.cpp" line="200"/>
        <location filename="../src/document/PhotoDocument.cpp" line="208"/>
        <location filename="../src/document/PhotoDocument.cpp" line="230"/>
        <location filename="../src/document/PhotoDocument.cpp" line="283"/>
        <source>Photo: %1</source>
        <translation>Photo: %1</translation>
    </message>
    <message>
        <location filename="../src/document/PhotoDocument.cpp" line="76"/>
        <source>Ouverture de %1...</source>
        <translation>Opening %1...</translation>
    </message>
    <message>
        <location filename="../src/document/PhotoDocument.cpp" line="104"/>
        <source>Ouvert %1</source>
        <translation>Opened %1</translation>
    </message>
    <message>
        <location filename="../src/document/PhotoDocument.cpp" line="128"/>
        <source>Ko</source>
        <translation>KB</translation>
    </message>
    <message>
        <location filename="../src/document/PhotoDocument.cpp" line="131"/>
        <source>Mo</source>
        <translation>MB</translation>
    </message>
</context>
<context>
    <name>PictureFiles</name>
    <message>
        <location filename="../src/io/FileWrite.cpp" line="45"/>
        <source>aucune image à enregistrer</source>
        <translation>no picture to save</translation>
    </message>
    <message>
        <location filename="../src/io/FileWrite.cpp" line="51"/>
        <source>image trop grande pour le format BMP (%1 x %2)</source>
        <translation>picture too large for the BMP format (%1 x %2)</translation>
    </message>
    <message>
        <location filename="../src/io/HeifRead.cpp" line="29"/>
        <source>fichier %1 illisible : %2</source>
        <translation>unreadable %1 file: %2</translation>
    </message>
    <message>
        <location filename="../src/io/HeifRead.cpp" line="130"/>
        <source>décodeur %1 indisponible</source>
        <translation>%1 decoder unavailable</translation>
    </message>
    <message>
        <location filename="../src/io/JpegRead.cpp" line="77"/>
        <source>fichier JPEG de plus de %1 passes : trop long à décoder</source>
        <translation>JPEG file of more than %1 scans: too long to decode</translation>
    </message>
    <message>
        <location filename="../src/io/JpegRead.cpp" line="83"/>
        <source>décodeur JPEG indisponible</source>
        <translation>JPEG decoder unavailable</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="101"/>
        <source>fichier introuvable</source>
        <translation>file not found</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="103"/>
        <source>ce chemin désigne un dossier, pas un fichier</source>
        <translation>this path is a folder, not a file</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="106"/>
        <source>ce chemin ne désigne pas un fichier ordinaire</source>
        <translation>this path is not a regular file</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="111"/>
        <source>lecture du fichier impossible (accès refusé)</source>
        <translation>cannot read the file (access denied)</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="122"/>
        <location filename="../src/io/PictureFiles.cpp" line="143"/>
        <source>fichier vide</source>
        <translation>empty file</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="124"/>
        <source>fichier trop volumineux pour la mémoire disponible</source>
        <translation>file too large for the available memory</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="139"/>
        <source>erreur de lecture du fichier</source>
        <translation>error reading the file</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="205"/>
        <location filename="../src/io/PictureFiles.cpp" line="266"/>
        <source>format d&apos;image inconnu</source>
        <translation>unknown picture format</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="220"/>
        <source>mémoire insuffisante pour ouvrir l&apos;image</source>
        <translation>not enough memory to open the picture</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="383"/>
        <source>fichier %1 tronqué ou endommagé</source>
        <translation>truncated or damaged %1 file</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="388"/>
        <source>image trop grande pour la mémoire disponible (%1 x %2)</source>
        <translation>picture too large for the available memory (%1 x %2)</translation>
    </message>
    <message>
        <location filename="../src/io/PictureFiles.cpp" line="395"/>
        <source>dimensions d&apos;image invalides (%1 x %2)</source>
        <translation>invalid picture dimensions (%1 x %2)</translation>
    </message>
    <message>
        <location filename="../src/io/QtRead.cpp" line="342"/>
        <source>fichier TIFF en CMJN sur %1 bits : ce mode de couleurs n&apos;est pas pris en charge</source>
        <translation>%1-bit CMYK TIFF file: this colour mode is not supported</translation>
    </message>
    <message>
        <location filename="../src/io/QtRead.cpp" line="499"/>
        <source>aucune image</source>
        <translation>no picture</translation>
    </message>
    <message>
        <location filename="../src/io/WmfRead.cpp" line="253"/>
        <location filename="../src/io/WmfRead.cpp" line="259"/>
        <source>moteur de dessin WMF indisponible</source>
        <translation>WMF drawing engine unavailable</translation>
    </message>
</context>
<context>
    <name>ReplacedFile</name>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="79"/>
        <source>disque plein</source>
        <translation>disk full</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="81"/>
        <source>quota d&apos;espace disque dépassé</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="83"/>
        <source>fichier trop gros pour ce disque</source>
        <translation>file too large for this disk</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="85"/>
        <source>erreur matérielle d&apos;écriture sur le disque</source>
        <translation>hardware error while writing to the disk</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="88"/>
        <source>écriture du fichier impossible (erreur système %1)</source>
        <translation>cannot write the file (system error %1)</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="130"/>
        <source>« %1 » est un lien vers un fichier qui n&apos;existe pas : il n&apos;est pas remplacé</source>
        <translation>&quot;%1&quot; is a link to a file that does not exist: it is not replaced</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="136"/>
        <source>le lien « %1 » ne mène à aucun fichier accessible</source>
        <translation>the link &quot;%1&quot; leads to no accessible file</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="151"/>
        <source>le dossier « %1 » n&apos;existe pas</source>
        <translation>the folder &quot;%1&quot; does not exist</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="154"/>
        <source>le dossier « %1 » n&apos;est pas accessible</source>
        <translation>the folder &quot;%1&quot; is not accessible</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="158"/>
        <location filename="../src/io/ReplacedFile.cpp" line="195"/>
        <source>« %1 » est un dossier</source>
        <translation>&quot;%1&quot; is a folder</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="178"/>
        <source>impossible de créer un fichier dans le dossier « %1 » (accès refusé ou support en lecture seule)</source>
        <translation>cannot create a file in the folder &quot;%1&quot; (access denied or read-only medium)</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="191"/>
        <source>« %1 » n&apos;est pas accessible</source>
        <translation>&quot;%1&quot; is not accessible</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="199"/>
        <source>« %1 » n&apos;est pas un fichier ordinaire (périphérique, tube ou socket) : il n&apos;est pas remplacé</source>
        <translation>&quot;%1&quot; is not a regular file (device, pipe or socket): it is not replaced</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="212"/>
        <source>« %1 » est protégé en écriture : il n&apos;est pas remplacé</source>
        <translation>&quot;%1&quot; is write-protected: it is not replaced</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="220"/>
        <location filename="../src/io/ReplacedFile.cpp" line="230"/>
        <source>fichier non ouvert en écriture</source>
        <translation>file not open for writing</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="258"/>
        <source>impossible de remplacer « %1 » par le nouveau fichier</source>
        <translation>cannot replace &quot;%1&quot; with the new file</translation>
    </message>
    <message>
        <location filename="../src/io/ReplacedFile.cpp" line="274"/>
        <source>le nouveau fichier a remplacé l&apos;ancien, mais le dossier n&apos;a pas pu être écrit sur le disque : %1</source>
        <translation>the new file replaced the old one, but the folder could not be written to the disk: %1</translation>
    </message>
</context>
<context>
    <name>SaveFormats</name>
    <message>
        <location filename="../src/io/HeifWrite.cpp" line="34"/>
        <source>échec de l&apos;encodage AVIF : %1</source>
        <translation>AVIF encoding failed: %1</translation>
    </message>
    <message>
        <location filename="../src/io/HeifWrite.cpp" line="62"/>
        <source>encodeur AVIF indisponible</source>
        <translation>AVIF encoder unavailable</translation>
    </message>
    <message>
        <location filename="../src/io/JpegWrite.cpp" line="43"/>
        <source>image trop grande pour le format JPEG (%1 x %2, 65535 au plus)</source>
        <translation>picture too large for the JPEG format (%1 x %2, 65535 at most)</translation>
    </message>
    <message>
        <location filename="../src/io/JpegWrite.cpp" line="50"/>
        <source>encodeur JPEG indisponible</source>
        <translation>JPEG encoder unavailable</translation>
    </message>
    <message>
        <location filename="../src/io/JpegWrite.cpp" line="79"/>
        <source>échec de l&apos;encodage JPEG</source>
        <translation>JPEG encoding failed</translation>
    </message>
    <message>
        <location filename="../src/io/QtWrite.cpp" line="73"/>
        <location filename="../src/io/SaveFormats.cpp" line="263"/>
        <source>format d&apos;image inconnu</source>
        <translation>unknown picture format</translation>
    </message>
    <message>
        <location filename="../src/io/QtWrite.cpp" line="101"/>
        <source>échec de l&apos;encodage %1 : %2</source>
        <translation>%1 encoding failed: %2</translation>
    </message>
    <message>
        <location filename="../src/io/SaveFormats.cpp" line="128"/>
        <source>qualité %1 %2 hors limites (de %3 à %4)</source>
        <translation>%1 quality %2 out of range (%3 to %4)</translation>
    </message>
    <message>
        <location filename="../src/io/SaveFormats.cpp" line="142"/>
        <location filename="../src/io/SizeLimit.cpp" line="188"/>
        <source>aucune image à enregistrer</source>
        <translation>no picture to save</translation>
    </message>
    <message>
        <location filename="../src/io/SaveFormats.cpp" line="152"/>
        <source>image trop grande pour le format %1 (%2 x %3)</source>
        <translation>picture too large for the %1 format (%2 x %3)</translation>
    </message>
    <message>
        <location filename="../src/io/SaveFormats.cpp" line="161"/>
        <location filename="../src/io/SaveFormats.cpp" line="257"/>
        <source>mémoire insuffisante pour encoder l&apos;image en %1 (%2 x %3)</source>
        <translation>not enough memory to encode the picture as %1 (%2 x %3)</translation>
    </message>
    <message>
        <location filename="../src/io/SaveFormats.cpp" line="231"/>
        <source>le format %1 n&apos;a pas de qualité à régler</source>
        <translation>the %1 format has no quality to set</translation>
    </message>
    <message>
        <location filename="../src/io/SizeLimit.cpp" line="206"/>
        <source>mémoire insuffisante pour réduire l&apos;image</source>
        <translation>not enough memory to shrink the picture</translation>
    </message>
    <message>
        <location filename="../src/io/SizeLimit.cpp" line="208"/>
        <source>aucun fichier de %1 octets au plus, même d&apos;un seul pixel</source>
        <translation>no file of %1 bytes or less, not even of a single pixel</translation>
    </message>
</context>
<context>
    <name>fotavel-batch</name>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="44"/>
        <source>effet inconnu : %1</source>
        <translation>unknown effect: %1</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="50"/>
        <source>valeur manquante après « %1= »</source>
        <translation>missing value after &quot;%1=&quot;</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="55"/>
        <location filename="../src/batch/BatchRunner.cpp" line="296"/>
        <source>%1 : %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="79"/>
        <source>%1 : la seconde photo serait remplacée pendant la série par le résultat de %2</source>
        <translation>%1: the second photo would be replaced during the run by the result of %2</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="125"/>
        <source>--sans-perte : le format AVIF ne s&apos;écrit pas sans perte</source>
        <translation>--sans-perte: the AVIF format cannot be written without loss</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="132"/>
        <source>--poids-max : seuls les JPEG, WebP et AVIF écrits avec une qualité, sans --sans-perte, peuvent être ajustés à une taille</source>
        <translation>--poids-max: only JPEG, WebP and AVIF files written with a quality, without --sans-perte, can be fitted to a size</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="148"/>
        <source>%1 demande une valeur</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="167"/>
        <source>la qualité va de 45 à 100</source>
        <translation>the quality goes from 45 to 100</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="175"/>
        <source>format de sortie inconnu : %1 (jpg, bmp, png, webp, avif ou tif)</source>
        <translation>unknown output format: %1 (jpg, bmp, png, webp, avif or tif)</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="185"/>
        <source>-j : le nombre de photos traitées à la fois est un entier de 1 ou plus (« %1 »)</source>
        <translation>-j: the number of photos processed at once is a whole number of 1 or more (&quot;%1&quot;)</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="196"/>
        <source>--threads : le nombre de fils de calcul est un entier de 1 ou plus (« %1 »)</source>
        <translation>--threads: the number of computing threads is a whole number of 1 or more (&quot;%1&quot;)</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="203"/>
        <source>--poids-max : la taille est un nombre d&apos;octets de 1 ou plus, suivi ou non de K (milliers) ou M (millions) (« %1 »)</source>
        <translation>--poids-max: the size is a number of bytes of 1 or more, optionally followed by K (thousands) or M (millions) (&quot;%1&quot;)</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="213"/>
        <source>option inconnue : %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="220"/>
        <source>aucune photo à traiter</source>
        <translation>no photo to process</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="224"/>
        <source>la sortie manque (-o SORTIE)</source>
        <translation>the output is missing (-o OUTPUT)</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="229"/>
        <source>format de sortie inconnu : %1 (.jpg, .jpeg, .bmp, .png, .webp, .avif, .tif ou .tiff)</source>
        <translation>unknown output format: %1 (.jpg, .jpeg, .bmp, .png, .webp, .avif, .tif or .tiff)</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="237"/>
        <source>avec plusieurs photos, la sortie doit être un dossier existant : %1</source>
        <translation>with several photos, the output must be an existing folder: %1</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchOptions.cpp" line="246"/>
        <source>Usage : fotavel-batch [-e EFFET]... [-q QUALITE] [-f FORMAT] [--sans-perte] [--poids-max TAILLE] [-j N] [--threads N] [--param DOSSIER] [--temps] [--sans-meta] ENTREE... -o SORTIE

Ouvre chaque photo ENTREE, lui applique les effets dans l&apos;ordre donné et enregistre le résultat.
Une seule ENTREE : SORTIE est un fichier dont l&apos;extension (.jpg, .jpeg, .bmp, .png, .webp, .avif, .tif ou .tiff) choisit le format.
Plusieurs ENTREE : SORTIE est un dossier existant ; chaque résultat y prend le nom de la photo, en .jpg (ou dans le format donné par -f).

  -e EFFET        effet à appliquer (plusieurs -e possibles)
  -q QUALITE      qualité des JPEG, WebP et AVIF, de 45 à 100 (70)
  -f FORMAT       format des résultats dans un dossier : jpg, bmp, png, webp, avif
                  ou tif (jpg)
  --sans-perte    résultats écrits sans perte ou refusés : un JPEG en déplaçant les
                  blocs du JPEG d&apos;origine (la photo ne peut être que tournée, gauche,
                  droite, et ses côtés doivent tomber sur des blocs entiers), un WebP
                  sans perte ; refusé pour l&apos;AVIF ; PNG, TIFF et BMP ne perdent rien
  --poids-max TAILLE
                  taille maximale de chaque JPEG, WebP ou AVIF, en octets ou suivie
                  de K (milliers) ou M (millions) : la meilleure qualité jusqu&apos;à -q
                  qui tient, la photo réduite de moitié si aucune ne suffit
  -j N            nombre de photos traitées à la fois (autant que de cœurs)
  --threads N     nombre de fils de calcul de chaque photo (par défaut, les cœurs
                  que -j laisse à chacune)
  --param DOSSIER dossier du logo et de fotavel.ini
  --temps         durée de chaque effet sur la sortie d&apos;erreur
  --sans-meta     résultats écrits sans les métadonnées de la photo d&apos;origine (EXIF,
                  IPTC, XMP, profil de couleurs), recopiées par défaut
  -h, --help      cette aide

Effets :
</source>
        <translation>Usage: fotavel-batch [-e EFFECT]... [-q QUALITY] [-f FORMAT] [--sans-perte] [--poids-max SIZE] [-j N] [--threads N] [--param FOLDER] [--temps] [--sans-meta] INPUT... -o OUTPUT

Opens each INPUT photo, applies the effects to it in the order given and saves the result.
One INPUT: OUTPUT is a file whose extension (.jpg, .jpeg, .bmp, .png, .webp, .avif, .tif or .tiff) chooses the format.
Several INPUTs: OUTPUT is an existing folder; each result takes the name of its photo there, as .jpg (or in the format given by -f).

  -e EFFECT       effect to apply (-e may be given several times)
  -q QUALITY      quality of JPEG, WebP and AVIF files, from 45 to 100 (70)
  -f FORMAT       format of the results in a folder: jpg, bmp, png, webp, avif
                  or tif (jpg)
  --sans-perte    results written without loss or refused: a JPEG by moving the
                  blocks of the original JPEG (the photo may only have been turned
                  with gauche or droite, and its sides must fall on whole blocks), a
                  lossless WebP; refused for AVIF; PNG, TIFF and BMP lose nothing
  --poids-max SIZE
                  largest size of each JPEG, WebP or AVIF file, in bytes or followed
                  by K (thousands) or M (millions): the best quality up to -q that
                  fits, the photo halved in size if none is small enough
  -j N            number of photos processed at once (as many as there are cores)
  --threads N     number of computing threads for each photo (by default, the
                  cores -j leaves to each)
  --param FOLDER  folder of the logo and of fotavel.ini
  --temps         time taken by each effect, on the error output
  --sans-meta     results written without the original photo&apos;s metadata (EXIF,
                  IPTC, XMP, colour profile), which are copied by default
  -h, --help      this help

Effects:
</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchRunner.cpp" line="109"/>
        <source>Photos [%1%2] %3/%4</source>
        <translation>Photos [%1%2] %3/%4</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchRunner.cpp" line="206"/>
        <source>%1 : %2%3%4 (erreur 0x%5, %6)
</source>
        <translation>%1: %2%3%4 (error 0x%5, %6)
</translation>
    </message>
    <message>
        <location filename="../src/batch/BatchRunner.cpp" line="209"/>
        <source>%1 : </source>
        <translation>%1: </translation>
    </message>
    <message>
        <location filename="../src/batch/BatchRunner.cpp" line="245"/>
        <source>%1 : réduite à %2 x %3 pour ne pas dépasser %4 octets
</source>
        <translation>%1: reduced to %2 x %3 so as not to exceed %4 bytes
</translation>
    </message>
    <message>
        <location filename="../src/batch/main.cpp" line="25"/>
        <source>fotavel-batch : %1</source>
        <translation>fotavel-batch: %1</translation>
    </message>
</context>
</TS>
